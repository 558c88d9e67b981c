// The cleaning rules of the idiom extractor, one table per rule.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { learnExampleBoundaries, quotedExampleStart } from '../../../tools/common/example-boundary.mjs';
import {
  classifyExplanation, cleanExplanation, dropDamagedSentence, extractExample, extractSource, hasMojibake, isCrossReferenceOnly,
  meaningAfterCitation, rejectionReason, resolveExplanation, resolvedExplanationText, restoreLostStops,
} from '../../../tools/common/explanation-text.mjs';

// A lexicon and an example model just big enough for the rules below.
const lexicon = new Map([['犹如', 1415], ['如同', 4000], ['国家', 9000], ['太平', 500], ['平安', 900], ['安定', 800],
  ['杜绝', 300], ['灯火', 300], ['辉煌', 900], ['灯火辉煌', 38], ['春天', 4000], ['天开', 20], ['三心二意', 40], ['不同', 9000]]
  .map(([word, count]) => [word, { count }]));
const examples = learnExampleBoundaries([
  ['辉煌', '光辉灿烂。'], ['公物', '公家的东西。'], ['爱护', '爱惜并保护～公物ㄧ～年轻一代ㄧ～花草'],
  ['繁星', '多而密的星星ㄧ～点点ㄧ～满天'],
], lexicon);
const withModels = { lexicon, examples };

test('cleanExplanation', async (t) => {
  const cases = [
    ['sense numbers go, senses get a line each',
      '1.每战必胜。 \n2.比喻有把握。', '每战必胜。\r\n比喻有把握。'],
    ['circled sense numbers split the senses',
      '①勉强，凑合。②勤恳；辛劳。', '勉强，凑合。\r\n勤恳；辛劳。'],
    ['a number out of order after a word is that word\'s sense: its examples follow',
      '①通告①以上通令。②政府发出的通告。', '通告ㄧ以上通令。\r\n政府发出的通告。'],
    ['so too at the start', '帘②竹帘子。', '帘ㄧ竹帘子。'],
    ['the quote it closes stays on it', '①同文化①”古代文明。②有文化的状态。', '同“文化”ㄧ古代文明。\r\n有文化的状态。'],
    ['a number out of order after a stop still splits', '①甲乙。③丙丁。', '甲乙。\r\n丙丁。'],
    ['a decimal number on a line of its own goes on its sentence', '英制1加仑等于\n4.546升。', '英制1加仑等于4.546升。'],
    ['a sense number before a year still splits', '1.旧时武装。 \n2.1908年创立。', '旧时武装。\r\n1908年创立。'],
    ['small comma and enumeration comma become the usual ones',
      '1.形容自爱﹑谨慎﹐不失一。', '形容自爱、谨慎，不失一。'],
    ['ASCII double quotes alternate open and close',
      '1.见"甲乙"与"丙丁"。', '见“甲乙”与“丙丁”。'],
    ['single quotes nest inside double ones',
      '《论语》"子曰\'赐也。\'"', '《论语》“子曰‘赐也。’”'],
    ['quotes restart on every sense, and a quote left open is closed',
      '1.亦作"甲。 \n2.见"乙丙"。', '亦作“甲”。\r\n见“乙丙”。'],
    ['‖ before a note ends a sentence, elsewhere it parts a sense', '①流域面积大‖沙量高。②比喻习以为常。‖也说家常饭。',
      '流域面积大；沙量高。\r\n比喻习以为常。也说家常饭。'],
    ['title separators become middle dots', '1.《诗．周颂．良耜》', '《诗·周颂·良耜》'],
    ['an origin mark is the full stop and 后 it stands for', '原指甲乙◇形容丙丁。', '原指甲乙。后形容丙丁。'],
    ['an origin mark after a full stop is dropped', '原指甲乙。◇形容丙丁。', '原指甲乙。形容丙丁。'],
    ['a lost opening quote after a variant keyword is restored',
      '形容人多。同骈肩累迹”。', '形容人多。同“骈肩累迹”。'],
    ['the second of two variants gets its quote back too',
      '亦作"只影孤形"、只影单形”。', '亦作“只影孤形”、“只影单形”。'],
    ['犹言 is one keyword', '犹言百战百胜”。', '犹言“百战百胜”。'],
    ['a quote that is already open is left alone',
      '“也作甲乙”。', '“也作甲乙”。'],
    ['ASCII semicolon and exclamation mark become full width', '1.每战必胜;战无不胜!', '每战必胜；战无不胜！'],
    ['a printed index\'s radical note at the end goes', '亲昵缠绵。阝(左)部', '亲昵缠绵。'],
    ['an entry stored twice keeps one copy',
      '整理好衣服坐着。　【正襟危坐】整理好衣服坐着。', '整理好衣服坐着。'],
  ];
  for (const [name, raw, expected] of cases) {
    await t.test(name, () => assert.equal(cleanExplanation(raw), expected));
  }
  const lostQuotes = [
    ['after the title that introduces the quotation',
      '语出《孟子》圣人之于民，亦类也。”', '语出《孟子》“圣人之于民，亦类也。”'],
    ['before the idiom itself', '后以破釜沉舟”比喻下最大的决心。', '后以“破釜沉舟”比喻下最大的决心。'],
    ['both in one sense',
      '《史记》皆沉船，破釜甑。”后以破釜沉舟”比喻决心。', '《史记》“皆沉船，破釜甑。”后以“破釜沉舟”比喻决心。'],
    ['a balanced quotation is left alone', '《史记》“皆沉船。”后以“破釜沉舟”比喻。', '《史记》“皆沉船。”后以“破釜沉舟”比喻。'],
  ];
  for (const [name, raw, expected] of lostQuotes) {
    await t.test(`lost opening quote: ${name}`, () => assert.equal(cleanExplanation(raw, '破釜沉舟'), expected));
  }
  const unbalanced = [
    ['a quoted term opening the sense gets its opening quote', '②中华人民共和国”的简称。', '“中华人民共和国”的简称。'],
    ['a lone closing quote elsewhere is dropped', '古时不一，因称其地为中央”，即此。', '古时不一，因称其地为中央，即此。'],
    ['a list of variants gets every quote back', '与中土”、中原”、中州”含义相同。', '与“中土”、“中原”、“中州”含义相同。'],
  ];
  for (const [name, raw, expected] of unbalanced) {
    await t.test(`unbalanced quotes: ${name}`, () => assert.equal(cleanExplanation(raw, '中国'), expected));
  }
});

test('gloss colons', async (t) => {
  const cases = [
    ['a character glossed before the meaning', '国泰民安', '泰平安，安定。国家太平，人民安乐。', '泰：平安，安定。国家太平，人民安乐。'],
    ['a gloss opening with a word that the term runs into', '虽死犹生', '犹如同。指人虽死，精神不灭。', '犹：如同。指人虽死，精神不灭。'],
    ['two glosses in a row', '杜绝后患', '杜绝堵塞、断绝；患祸害、祸患。指彻底消除祸患。', '杜绝：堵塞、断绝；患：祸害、祸患。指彻底消除祸患。'],
    ['no gloss where a word runs on from the term', '国泰民安', '国家太平。人民安乐。', '国家太平。人民安乐。'],
    ['no gloss after a sentence that is none', '一片宫商', '古以宫商为五音。一片和谐的乐声。形容优美。', '古以宫商为五音。一片和谐的乐声。形容优美。'],
    ['no gloss that repeats its term', '不分青红皂白', '皂黑色。不分黑白，不分是非。', '皂：黑色。不分黑白，不分是非。'],
    ['no gloss where a commoner word runs on from the term', '春华秋实', '春天开花，秋天结果。比喻文采和德行。',
      '春天开花，秋天结果。比喻文采和德行。'],
    ['no gloss that makes a word with its term', '两意三心', '三心二意。心里想这样又想那样。', '三心二意。心里想这样又想那样。'],
    ['no gloss of 不', '不入虎穴，焉得虎子', '不进老虎洞，哪能捉到虎仔。比喻不历艰难不得收获。', '不进老虎洞，哪能捉到虎仔。比喻不历艰难不得收获。'],
    ['no gloss in the only sentence', '国泰民安', '泰平安，安定。', '泰平安，安定。'],
    ['no gloss where the sentence retells the phrase', '月满则亏', '月圆则缺。比喻盛极必衰。', '月圆则缺。比喻盛极必衰。'],
    ['nor where its second clause retells the second half', '桑弧蓬矢', '桑木作弓，蓬梗为箭。古代的仪式。',
      '桑木作弓，蓬梗为箭。古代的仪式。'],
    ['nor where it goes on with a conjunction', '狼奔豕突', '狼和猪东奔西跑。比喻坏人乱窜。', '狼和猪东奔西跑。比喻坏人乱窜。'],
    ['a later character inside the gloss\'s opening word is a gloss still', '异曲同工', '异不同的。比喻做法不同而效果一样。',
      '异：不同的。比喻做法不同而效果一样。'],
  ];
  for (const [name, idiom, raw, expected] of cases) {
    await t.test(name, () => assert.equal(cleanExplanation(raw, idiom, { lexicon }), expected));
  }
});

test('run-in examples', async (t) => {
  const cases = [
    ['a lexicon word holding the phrase starts the example', '辉煌', '光辉灿烂灯火～。', '光辉灿烂。\r\n灯火辉煌。', ''],
    ['a pronoun starts the example', '火急火燎', '形容非常焦急他心里～的。', '形容非常焦急。\r\n他心里火急火燎的。', '他心里火急火燎的。'],
    ['examples after "ㄧ" follow on the same line', '爱护', '爱惜并保护～公物ㄧ～年轻一代。', '爱惜并保护。\r\n爱护公物｜爱护年轻一代。', '爱护年轻一代。'],
    ['a written-out first example of an idiom stays, the later ones are split off', '不可救药',
      '比喻无法挽回病入膏肓，不可救药｜野狐外道，不可救药。', '比喻无法挽回病入膏肓，不可救药。\r\n野狐外道，不可救药。', '野狐外道，不可救药。'],
    ['one character before the phrase is the example\'s head, not a definition', '涵养', '很有～。', '很有涵养。', ''],
    ['a later piece without the phrase is kept', '蹦跳', '跳跃他高兴得～起来ㄧ孩子们蹦蹦跳跳地跑进来。',
      '跳跃。\r\n他高兴得蹦跳起来｜孩子们蹦蹦跳跳地跑进来。', '孩子们蹦蹦跳跳地跑进来。'],
    ['a "～" followed by more definition stands for a lost character', '羞与哙伍',
      '～信鄙视樊哙。泛指以跟某人在一起为可耻。', '～信鄙视樊哙。泛指以跟某人在一起为可耻。', ''],
  ];
  for (const [name, phrase, raw, dianGu, liZi] of cases) {
    await t.test(name, () => {
      assert.equal(cleanExplanation(raw, phrase, withModels), dianGu);
      assert.equal(extractExample(raw, phrase, withModels), liZi);
    });
  }
});

test('quotedExampleStart: a classical quotation run into its definition', async (t) => {
  const verse = new Set(['夜阑更秉烛', '相对如梦寐', '一视同仁', '天下本无事', '庸人自扰之', '司空见惯浑闲事', '邂逅成相识', '千秋万岁名']);
  const isQuoted = (clause) => verse.has(clause);
  const timeWords = new Map([['一朝', { tag: 't' }], ['岁月', { tag: 't' }]]);
  const cases = [
    ['the phrase in a later clause of the quotation', '梦寐', '睡梦夜阑更秉烛，相对如梦寐', 2],
    ['an idiom inside a quoted clause', '庸人自扰', '平庸的人自找麻烦天下本无事，庸人自扰之', 8],
    ['after a word that leads into it', '同仁', '犹言一视同仁', null],
    ['a set phrase alone in its clause is no quotation', '庸人自扰', '自找麻烦天下本无事，庸人自扰', null],
    ['the clause of the phrase not in the texts', '梦寐', '睡梦夜阑更秉烛，梦寐以求', null],
    ['inside quotation marks', '梦寐', '语出“夜阑更秉烛，相对如梦寐', null],
    ['a time word before it opens the quotation', '邂逅', '不期而遇一朝邂逅成相识', 4],
    ['but not one the definition leads into', '万岁', '形容极长的岁月千秋万岁名', 7],
  ];
  for (const [name, phrase, sense, expected] of cases) {
    await t.test(name, () => assert.equal(quotedExampleStart(sense, phrase, isQuoted, timeWords), expected));
  }
});

test('wordOpensExample: an example that opens with the word after its definition', async (t) => {
  const tagged = new Map([['强烈', 900, 'a'], ['疼痛', 500, 'n'], ['剧痛', 90, 'n'], ['难忍', 90, 'a'], ['浓郁', 500, 'a'], ['缓慢', 500, 'a'],
    ['香气', 400, 'n'], ['冉冉', 50, 'z'], ['飘来', 100, 'v'], ['终于', 9000, 'd'], ['成功', 9000, 'a'],
    ['旧时', 300, 't'], ['士兵', 2000, 'n'], ['军需', 200, 'n'], ['业务', 3000, 'n'], ['人员', 9000, 'n'], ['剧痛感', 200, 'n']]
    .map(([word, count, tag]) => [word, { count, tag }]));
  // Enough definitions for their last words to count as ends of definitions.
  const definitions = ['极强烈的疼痛。', '浓郁的香气。', '士兵。']
    .flatMap((definition) => Array.from({ length: 20 }, (_, i) => [`${definition}${i}`, definition]));
  const model = learnExampleBoundaries([...definitions, ['阵痛', '～难忍ㄧ～成功'], ['袅袅', '～飘来']], tagged);
  const cases = [
    ['after a definition ending on its head noun', '剧痛', '极强烈的疼痛剧痛难忍。', 6],
    ['the word opening a longer one', '剧痛', '极强烈的疼痛剧痛感难忍。', 6],
    ['a noun of its own before it is the example\'s subject', '冉冉', '缓慢地香气冉冉飘来。', null],
    ['an adverb follows its example\'s subject', '终于', '士兵终于成功了。', null],
    ['"指…的…" is one noun phrase', '军需', '旧时指士兵军需业务的人员。', null],
  ];
  for (const [name, phrase, sense, expected] of cases) {
    await t.test(name, () => assert.equal(model.wordOpensExample(sense, phrase), expected));
  }
});

test('definitionClauseEnd: an example after a definition that other words hold as a clause', async (t) => {
  const tagged = new Map([['惊异', 500, 'v'], ['惊奇', 500, 'v'], ['令人', 3000, 'v'], ['万分', 300, 'd'], ['公款', 100, 'n'], ['糜费', 50, 'v']]
    .map(([word, count, tag]) => [word, { count, tag }]));
  const wholeClauses = ['惊异', '惊奇', '〈书〉公款'].flatMap((clause) => ['甲', '乙'].map((w) => [`${w}${clause}`, `${clause}。`]));
  // Many more clauses go on after 惊奇 than end on it.
  const longer = Array.from({ length: 20 }, (_, i) => [`丙${i}`, `惊奇万分${i}。`]);
  const model = learnExampleBoundaries([...wholeClauses, ...longer, ['诧异', '～不已']], tagged);
  const cases = [
    ['after a definition others hold whole', '惊异令人诧异。', 2],
    ['a clause others hold whole is all definition', '惊异，令人诧异。', null],
    ['a common opening of longer clauses', '惊奇令人诧异。', null],
    ['a list or a 的 goes on with the definition', '惊异令人、诧异。', null],
    ['', '惊异令人的诧异。', null],
    ['a usage label is no definition', '〈书〉公款糜费诧异。', null],
  ];
  for (const [name, sense, expected] of cases) {
    await t.test(name || sense, () => assert.equal(model.definitionClauseEnd(sense, '诧异'), expected));
  }
});

test('meaningAfterCitation: what a sense that opens with its source says the word means', async (t) => {
  const cases = [
    ['after the quotation', '语出《诗·小雅·伐木》“出自幽谷，迁于乔木。”后以“乔迁”比喻地位升高。', '后以“乔迁”比喻地位升高。'],
    ['the later sense before the first', '《晋书》“日月如合璧。”本指一种天象。后用来比喻美好的事物聚集在一起。',
      '后用来比喻美好的事物聚集在一起。'],
    ['past a note on the quotation', '《左传》“女忘君之为孺子牛而折其齿乎？”杜预注“孺子荼也。”借喻甘为人民服务的人。',
      '借喻甘为人民服务的人。'],
    ['what follows a quotation that ends its sentence', '语本《晏子春秋》“张袂成阴，挥汗成雨。”极言行人之多。', '极言行人之多。'],
    ['传 opening a sentence is no commentary', '语出《庄子》“千金之珠，而骊龙颔下。”传说中出于骊龙颔下的宝珠。', '传说中出于骊龙颔下的宝珠。'],
    ['nothing but the quotation, cut off inside it', '《书·周官》“作德，心逸日休；作伪，心劳日拙。', ''],
    ['a work that is itself the meaning', '《庄子》篇名。', null],
    ['a sense that names a work', '指《离骚》所体现的情调。', null],
    ['a story without a meaning after it is left as it is', '《史记》载项羽破釜沉舟。', null],
  ];
  for (const [name, sense, expected] of cases) {
    await t.test(name, () => assert.equal(meaningAfterCitation(sense), expected));
  }
});

test('resolveExplanation', async (t) => {
  const explanations = new Map([
    ['众所周知', '1.见"众所共知"。'], ['众所共知', '为众人所知晓、熟悉。'], ['一目了然', '1.见"一目了然"。'],
    ['甲乙丙丁', '同"戊己庚辛"。'], ['戊己庚辛', '也作"壬癸子丑"。'], ['壬癸子丑', '①勉强，凑合。②勤恳；辛劳。'],
    ['安然无事', '犹言平安无事。'], ['平安无事', '平平安安，没有变故。'],
  ]);
  const of = (word) => explanations.get(word);
  const cases = [
    ['a pointer is followed and named', '众所周知', '同“众所共知”。为众人所知晓、熟悉。'],
    ['a chain of pointers leads to the end, a multi-line one below the pointer', '甲乙丙丁', '同“壬癸子丑”。\r\n勉强，凑合。\r\n勤恳；辛劳。'],
    ['犹言 stays 犹言', '安然无事', '犹言“平安无事”。平平安安，没有变故。'],
  ];
  for (const [name, word, expected] of cases) {
    await t.test(name, () => assert.equal(resolvedExplanationText(resolveExplanation(word, of, new Set(explanations.keys())), word), expected));
  }
  await t.test('a pointer to itself leaves no explanation', () => assert.equal(resolveExplanation('一目了然', of).reason, 'self-reference'));
});

test('hasMojibake', async (t) => {
  const cases = [
    ['plain text', '谓每战必胜，从不打败仗。', false],
    ['a question mark after a question word', '今夜是何夜?多用作赞叹语。', false],
    ['a question mark inside a quoted question', '"子不知利害，则至人固不知利害乎?"', false],
    ['a question mark standing for a lost character', '1.见"倒?孩儿"。', true],
    ['a question mark ending the text', '不知贤妹可能别出心裁，另有炮制?', false],
    ['a question mark closing a quotation', '"另有炮制?"', false],
    ['a replacement character', '甲乙\ufffd丙', true],
    ['box drawing from a wrong decoding', '恭敬地┑新年', true],
    ['a double bar in place of a character', '子知∥谓无知者', true],
    ['pinyin with tone marks is expected', '猧”念wō；魀”念gà。', false],
    ['small punctuation of the source is expected', '1.形容自爱﹑谨慎﹐不失一。', false],
    ['a hex code left for a character', '语出赵孟b13e！对放烟火者》诗', true],
    ['letters and digits of a name are no hex code', '用A4纸打印，2008年。', false],
  ];
  for (const [name, raw, expected] of cases) {
    await t.test(name, () => assert.equal(hasMojibake(raw), expected));
  }
});

test('dropDamagedSentence', async (t) => {
  const cases = [
    ['the clauses before a hex code stay', '甲在鲁国观看乐舞，看到舞《韶d03d！肥保认为尽善。后以此赞美。', '甲在鲁国观看乐舞。后以此赞美。'],
    ['a code in the first clause takes its sentence', '孟c02f！侗臼率·情感》载其事。后因以比喻。', '后因以比喻。'],
    ['nothing left is no text', '吹d03e粑，吐故纳新。', null],
    ['a sound text stays whole', '比喻夫妻离散后又重新完聚。', '比喻夫妻离散后又重新完聚。'],
  ];
  for (const [name, raw, expected] of cases) {
    await t.test(name, () => assert.equal(dropDamagedSentence(raw), expected));
  }
});

test('isCrossReferenceOnly', async (t) => {
  const cases = [
    ['见 a variant', '见“遮人眼目”。', true],
    ['同 a variant, without full stop', '同“无与伦比”', true],
    ['every sense a reference', '亦作“甲乙”。\r\n见“丙丁”。', true],
    ['a reference and a real sense', '亦作“釜中鱼”。\r\n比喻不能久活。', false],
    ['an explanation that starts with 见', '见识短浅，目光如豆。', false],
    ['犹言 and an idiom of the list, unquoted', '犹言平安无事。', true],
    ['犹言 and a plain gloss is an explanation', '犹言差不多。', false],
  ];
  const known = new Set(['平安无事']);
  for (const [name, cleaned, expected] of cases) {
    await t.test(name, () => assert.equal(isCrossReferenceOnly(cleaned, known), expected));
  }
});

test('rejectionReason', async (t) => {
  const cases = [
    ['missing', undefined, 'no-explanation'],
    ['blank', ' \n', 'no-explanation'],
    ['mojibake comes before the other rules', '1.见"倒?孩儿"。', 'mojibake'],
    ['damage in two sentences', '甲┘乙。丙丁戊。己┫庚。', 'mojibake'],
    ['only a cross-reference', '1.见"以莛撞钟"。', 'cross-reference'],
    ['two characters are too short', '1.兽王。', 'short-explanation'],
    ['three characters are enough', '1.合情理。', ''],
    ['blanks do not count', '1.兽 王 。 ', 'short-explanation'],
  ];
  for (const [name, raw, expected] of cases) {
    await t.test(name, () => assert.equal(rejectionReason(raw), expected));
  }
  await t.test('damage confined to one sentence drops that sentence', () => assert.deepEqual(
    classifyExplanation('息呼吸时进出的气┘吸也相互关联。形容彼此的关系非常密切。'),
    { reason: '', text: '形容彼此的关系非常密切。' }));
  await t.test('a full stop merged with the next character is restored, not dropped', () => assert.deepEqual(
    classifyExplanation('息呼吸时进出的气◆吸也相互关联。形容彼此的关系非常密切。'),
    { reason: '', text: '息呼吸时进出的气。呼吸也相互关联。形容彼此的关系非常密切。' }));
});

test('extractSource', async (t) => {
  const cases = [
    ['opens with a quoted title', '《韩非子·五蠹》“事异则备变。”', '《韩非子·五蠹》：“事异则备变。”'],
    ['opens with a title that records the story', '《韩非子·外储说左上》载郑国有人买鞋。', '《韩非子·外储说左上》'],
    ['opens with author and title and a quotation', '汉刘向《说苑·杂言》“夫君子爱口。”后以喻珍惜名声。', '汉刘向《说苑·杂言》：“夫君子爱口。”'],
    ['语出 in the middle', '比喻不能成功。语出《楞严经》卷六“如蒸沙石。”', '《楞严经》：“如蒸沙石。”'],
    ['语本 with an author', '比喻愚昧。语本汉刘向《新序·杂事二》“反裘而负刍。”', '汉刘向《新序·杂事二》：“反裘而负刍。”'],
    ['典出', '比喻事物。典出《庄子·逍遥游》。', '《庄子·逍遥游》'],
    ['a title that is only named', '《白雪》《阳春》是两支高雅歌曲。', ''],
    ['no title at all', '谓每战必胜。', ''],
  ];
  for (const [name, cleaned, expected] of cases) {
    await t.test(name, () => assert.equal(extractSource(cleaned), expected));
  }
  const citations = [
    ['a later citation whose quotation shares two characters', '哀而不伤',
      '谓悲伤而不过分。《论语·八佾》“《关雎》乐而不淫，哀而不伤。”', '《论语·八佾》：“《关雎》乐而不淫，哀而不伤。”'],
    ['the kind of piece between title and quotation', '白云苍狗',
      '比喻世事无常。杜甫《可叹》诗“天上浮云如白衣，斯须改变如苍狗。”', '杜甫《可叹》诗：“天上浮云如白衣，斯须改变如苍狗。”'],
    ['one shared character is not enough', '卧薪尝胆', '原指隐者。《三国志》“诸葛孔明者，卧龙也。”', ''],
  ];
  for (const [name, idiom, cleaned, expected] of citations) {
    await t.test(name, () => assert.equal(extractSource(cleaned, idiom), expected));
  }
});

test('extractExample', async (t) => {
  const cases = [
    ['a later work quoting the idiom',
      '悲而不过分。《论语·八佾》“乐而不淫，哀而不伤。”鲁迅《汉文学史纲要》第二篇“哀而不伤，乐而不淫。”',
      '哀而不伤', '鲁迅《汉文学史纲要》第二篇：“哀而不伤，乐而不淫。”'],
    ['the first citation is the origin, never the example',
      '追求不到。《诗·周南·关雎》“求之不得，寤寐思服。”', '求之不得', ''],
    ['a later quotation without the idiom is no example',
      '甲乙。《论语》“哀而不伤。”《孟子》“丙丁戊己。”', '哀而不伤', ''],
    ['the same work quoted again is no example',
      '甲乙。《论语》“丙丁。”《论语》“哀而不伤。”', '哀而不伤', ''],
    ['no author is taken from the middle of a clause',
      '甲乙。《论语》“丙丁。”后人常引用鲁迅《坟》“哀而不伤。”', '哀而不伤', '《坟》：“哀而不伤。”'],
  ];
  for (const [name, cleaned, idiom, expected] of cases) {
    await t.test(name, () => assert.equal(extractExample(cleaned, idiom), expected));
  }
});

test('restoreLostStops', async (t) => {
  const cases = [
    ['a symbol between two clauses is the stop and a character', '散离开，分手≤不愉快地分手。', '散离开，分手。很不愉快地分手。'],
    ['after a title too', '见《吕氏春秋·察传》◇因以指此。', '见《吕氏春秋·察传》。后因以指此。'],
    ['a ratio keeps its colon sign', '比例尺小于1∶10万。', '比例尺小于1∶10万。'],
    ['a bracket whose partner is there stays', '参看〖三伏〗前后。', '参看〖三伏〗前后。'],
    ['a lone bracket between words is undone', '海底石油〗运地位重要。', '海底石油。航运地位重要。'],
  ];
  for (const [name, raw, expected] of cases) await t.test(name, () => assert.equal(restoreLostStops(raw), expected));
});
