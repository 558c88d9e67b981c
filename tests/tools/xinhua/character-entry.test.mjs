// The text rules of a character entry, one table per rule.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import {
  dropSelfReferences, explainsAnotherReading, glossedPart, isClassicalExplanation, isDamaged, isLifeOfAPerson,
  isSelfVariantSense, listedForms, markWrittenOutWord, notedReading, onlyNamesASurname, readingNote, otherReadingRule, otherReadings,
  showsOnlyEarliestSenses, synonymListDefinition, usualEntry, withoutExampleOpening, wordSenses,
} from '../../../tools/xinhua/character-entry.mjs';
import {
  briefGlosses, glossLine, glossOfListedReading, harvestGlosses, phraseGlosses,
} from '../../../tools/xinhua/character-glosses.mjs';
import { englishSynonyms, parseCedict, readableSense } from '../../../tools/common/cc-cedict.mjs';
import { learnExampleBoundaries } from '../../../tools/common/example-boundary.mjs';

const KNOWN_WORDS = new Set(['一声', '呼唤', '千金', '机关枪', '问问', '自己']);
const isKnownWord = (text) => KNOWN_WORDS.has(text);

test('isSelfVariantSense', async (t) => {
  const cases = [
    ['the character itself', '却', 'old variant of 卻|却[que4]', true],
    ['another character', '却', 'variant of 卻[que4]', false],
    ['a plain sense', '台', 'platform; stage', false],
  ];
  for (const [name, ch, sense, expected] of cases) {
    await t.test(name, () => assert.equal(isSelfVariantSense(ch, sense), expected));
  }
});

test('dropSelfReferences', async (t) => {
  const cases = [
    ['a pointer to the word itself goes', '群魔乱舞', '亦作“群魔乱舞”。', ''],
    ['the rest of the sense stays', '一伙', '亦作“一伙”。一群人。', '一群人。'],
    ['other variants stay', '侵凌', '亦作“侵凌”、“侵陵”。', '亦作“侵陵”。'],
    ['a pointer to another word stays', '中途', '见“中涂”。', '见“中涂”。'],
  ];
  for (const [name, word, text, expected] of cases) {
    await t.test(name, () => assert.equal(dropSelfReferences(word, text), expected));
  }
});

test('glossedPart', async (t) => {
  const cases = [
    ['a part glossed without its colon', '问心无愧', '问心问问自己。', '问心'],
    ['a part glossed with its colon', '国泰民安', '泰：平安，安定。', '泰'],
    ['a part that runs on into a known word', '一呼百应', '一声呼唤，人皆响应。', ''],
    ['a clause naming other characters of the idiom', '一纸千金', '一纸价值千金。', ''],
    ['the idiom\'s first character alone', '一呵而就', '一口气完成。', ''],
    ['a word of three characters', '艺术品', '艺术作品。', ''],
    ['two characters glossed at once', '呼卢喝雉', '呼、喝：喊叫；卢、雉：赌具上的颜色。', '呼、喝'],
  ];
  for (const [name, word, sentence, expected] of cases) {
    await t.test(name, () => assert.equal(glossedPart(word, sentence, isKnownWord), expected));
  }
});

test('wordSenses', async (t) => {
  const cases = [
    ['the sense of the whole idiom, not the part-gloss',
      '问心无愧', '问心问问自己。扪心自问，毫无愧色。', '扪心自问，毫无愧色。'],
    ['a label sentence keeps the sentence it labels', '我们', '1.代词。称包括自己在内的若干人。',
      '代词。称包括自己在内的若干人。'],
    ['another name before the explanation is passed over', '帝国主义',
      '也称“垄断资本主义”。垄断占统治地位的资本主义。列宁揭示…', '垄断占统治地位的资本主义。'],
    ['a self-pointer sense is no sense', '这个', '1.亦作"这个"。 \n2.指示比较近的事物或人。',
      '指示比较近的事物或人。'],
    ['the number of another word\'s sense is no sense', '假说', '①假设②。②科学研究上对客观事物的假定的说明。',
      '①假设。②科学研究上对客观事物的假定的说明。'],
    ['no later examples where the first one\'s start is unknown', '离开', '跟人、物或地方分开离得开ㄧ离不开ㄧ鱼～了水就不能活。',
      '跟人、物或地方分开离得开。'],
    ['the spoken form with 儿 goes before all the senses', '劲头', '（～儿）①力量；力气。②积极的情绪。',
      '（劲头儿）①力量；力气。②积极的情绪。'],
    ['a stop the source left out after a note in brackets', '借贷', '①借（钱）②指借方和贷方。', '①借（钱）。②指借方和贷方。'],
    ['a sense that only cites its source tells no meaning', '作伪', '①《书·周官》“作德，心逸日休；作伪，心劳日拙。②虚伪。',
      '虚伪。'],
    ['past another name to the source and the meaning after it', '太祖',
      '亦作“大祖”。《诗·周颂》“《雝》，禘大祖也。”后世通称开国皇帝曰太祖。', '后世通称开国皇帝曰太祖。'],
    ['a short sense keeps its meaning, not the source it cites', '名称', '①名号称谓。②名声。语本《论语》“君子疾没世而名不称焉。”',
      '①名号称谓。②名声。'],
    ['a stop inside a quotation ends no sentence', '掷地金声', '晋孙绰对友人说“卿试掷地，当作金石声。”范起初不信。后比喻文辞优美。',
      '晋孙绰对友人说“卿试掷地，当作金石声。”范起初不信。'],
    ['two senses that read the same are one', '感觉', '①感官的反应。②觉得①天冷了。③觉得②他～还顺利。',
      '①感官的反应。②觉得。'],
    ['a separator inside a bracket the source never closed', '碍事', '严重（多用于否定式他的病不～ㄧ擦破点儿皮。',
      '严重（多用于否定式他的病不碍事。'],
  ];
  for (const [name, word, explanation, expected] of cases) {
    await t.test(name, () => assert.equal(wordSenses(word, explanation, isKnownWord), expected));
  }
  // An empty lexicon lets every opening character pass for a gloss.
  const lexicon = new Map();
  const examples = learnExampleBoundaries([['爱护', '爱惜并保护～公物ㄧ～年轻一代。']], lexicon);
  const cleaned = [
    ['a run-in example is left out', '爱护', '爱惜并保护～公物ㄧ～年轻一代。', '爱惜并保护。'],
    ['no stop is left before the example', '泰然', '安定；～处之。', '安定。'],
    ['an idiom gets its gloss colon back, and the part-gloss is passed over', '问心无愧',
      '问心问问自己。扪心自问，毫无愧色。', '扪心自问，毫无愧色。'],
    ['a shorter word gets no gloss colon', '卧室', '卧于室内。即卧房。', '卧于室内。'],
    ['这 after 了 is an object, not the example\'s subject', '和平', '平静；宁静听了这番话，他心里～了一些。',
      '平静；宁静听了这番话，他心里和平了一些。'],
  ];
  for (const [name, word, explanation, expected] of cleaned) {
    await t.test(name, () => assert.equal(wordSenses(word, explanation, isKnownWord, { lexicon, examples }), expected));
  }
  // The word written out in the first clause: split off only where the model is sure of the start.
  const words = new Map([['前后', { count: 10, tag: 'n' }], ['次序', { count: 10, tag: 'n' }]]);
  const modelOf = (sure) => ({ exampleStart: () => ({ start: 4, sure }) });
  for (const [name, sure, expected] of [['a sure start', true, '前后次序。'], ['a guessed start', false, '前后次序事有先后。']]) {
    await t.test(`the first clause: ${name}`, () => assert.equal(
      wordSenses('先后', '前后次序事有先后。', isKnownWord, { lexicon: words, examples: modelOf(sure) }), expected));
  }
  // A start after a comma leaves the example's first clause on the definition: the sense stays whole.
  const sense = '形容吃惊意外的消息传来，大家都为之～。';
  await t.test('a cut at a comma', () => assert.equal(
    wordSenses('愕然', sense, isKnownWord, { lexicon: new Map(), examples: { exampleStart: () => ({ start: sense.indexOf('大'), sure: true }) } }),
    '形容吃惊意外的消息传来，大家都为之愕然。'));
  // A "～" example whose start was put after a word that leads on: the sense stays whole.
  const leadsOn = new Map([['容纳', { count: 10, tag: 'v' }], ['而', { count: 10, tag: 'c' }], ['不', { count: 10, tag: 'd' }]]);
  await t.test('a cut that ends on a word leading on', () => assert.equal(
    wordSenses('接受', '容纳而不拒绝～任务。', isKnownWord, { lexicon: leadsOn, examples: { exampleStart: () => ({ start: 4, sure: true }) } }),
    '容纳而不拒绝接受任务。'));
});

test('phraseGlosses', async (t) => {
  const cases = [
    ['a gloss without its colon', '国泰民安', '泰平安，安定。国家太平，人民安乐。', [['泰', '平安，安定']]],
    ['the idiom paraphrased from its first character', '一以当百', '一人抵过百人。极言勇猛。', []],
    ['from a number inside the idiom', '千载一合', '一千年才有这么一个时机。形容机会难得。', []],
    ['a run into the next gloss', '佩韦佩弦', '韦熟牛皮，弦弓弦。比喻随时警戒自己。', []],
    ['a word shorter than an idiom', '卧室', '卧于室内。即卧房。', []],
  ];
  for (const [name, phrase, raw, expected] of cases) {
    await t.test(name, () => assert.deepEqual(
      phraseGlosses(phrase, raw, new Map()).map((g) => [g.character, g.gloss]), expected));
  }
});

test('harvestGlosses: the most attested first, a gloss another one holds folded into it', () => {
  const glosses = harvestGlosses([
    ['泰来否极', '泰周易卦名，是好卦。事物发展到极点就转化。'],
    ['持盈保泰', '泰平安。富贵极盛时要小心谨慎。'],
    ['国泰民安', '泰平安，安定。国家太平，人民安乐。'],
    ['处之泰然', '泰安然。毫不在意。'],
  ], new Map(), { usable: (text) => !text.includes('处'), countOf: (phrase) => (phrase === '泰来否极' ? 9 : 0) }).get('泰');
  assert.equal(glossLine('泰', glosses), '字义：泰：平安，安定（国泰民安、持盈保泰）；泰：周易卦名，是好卦（泰来否极）');
  assert.equal(briefGlosses(glosses), '字义：平安，安定；周易卦名，是好卦');
});

test('usualEntry and explainsAnotherReading', async (t) => {
  const chong = { pinyin: 'chong2 dian3', senses: ['to recount'] };
  const zhong = { pinyin: 'zhong4 dian3', senses: ['key point'] };
  await t.test('the reading a converter gives the whole word wins',
    () => assert.equal(usualEntry([chong, zhong], () => 'zhòng diǎn'), zhong));
  await t.test('a single reading is taken without asking',
    () => assert.equal(usualEntry([zhong], () => assert.fail('asked')), zhong));
  const proper = { pinyin: 'Zhong1 guo2', senses: [] };
  const common = { pinyin: 'zhong1 guo2', senses: [] };
  await t.test('common nouns before proper ones',
    () => assert.equal(usualEntry([proper, common], () => ''), common));
  const another = [
    ['"另见" names the reading shown', '〈方〉见“天车”。另见xíngchē。', 'xíng chē', true],
    ['with a neutral-tone dot', '一种面食品。另见juàn·zi。', 'juàn zi', true],
    ['"另见" names another reading', '〈方〉行业。另见xíngdào。', 'háng dào', false],
  ];
  for (const [name, explanation, shown, expected] of another) {
    await t.test(name, () => assert.equal(explainsAnotherReading(explanation, shown), expected));
  }
});

test('listedForms', async (t) => {
  const cases = [
    ['the character is one of its own forms', '干', ['乾', '干', '幹'], true, ['干', '乾', '幹']],
    ['Unihan lists it but it has no sense of its own', '个', ['个', '個'], false, ['個']],
    ['only itself', '中', ['中'], true, []],
    ['no forms', '国', [], false, []],
  ];
  for (const [name, ch, forms, ownForm, expected] of cases) {
    await t.test(name, () => assert.deepEqual(listedForms(ch, forms, ownForm), expected));
  }
});

test('readableSense: CC-CEDICT cross-references as a reader writes them', async (t) => {
  const cases = [
    ['traditional, simplified and pinyin', 'variant of 馬來西亞|马来西亚[Ma3 lai2 xi1 ya4]', 'variant of 马来西亚（Mǎláixīyà）'],
    ['a bare reading', 'scheduling (Taiwan pr. [hui3])', 'scheduling (Taiwan pr. huǐ)'],
    ['a list of measure words', 'CL:個|个[ge4],位[wei4]', 'CL:个（gè）,位（wèi）'],
    ['an apostrophe before a vowel, ü kept', 'see 西安[Xi1 an1] and 綠|绿[lu:4]', 'see 西安（Xī\'ān） and 绿（lǜ）'],
    ['no pinyin', 'old variant of 卻|却', 'old variant of 却'],
    ['plain English stays', 'to wear (clothes); 1990s', 'to wear (clothes); 1990s'],
  ];
  for (const [name, sense, expected] of cases) await t.test(name, () => assert.equal(readableSense(sense), expected));
});

test('englishSynonyms: a shared word of meaning, not of grammar or a name', async (t) => {
  const isSynonym = englishSynonyms(parseCedict([
    '限制 限制 [xian4 zhi4] /to restrict/to limit/', '約束 约束 [yue1 shu4] /to restrict; to constrain/',
    '一般 一般 [yi1 ban1] /same/ordinary/', '一種 一种 [yi1 zhong3] /one kind of/', '花 花 [Hua1] /surname Hua/',
    '費 费 [Fei4] /surname Fei/',
  ].join('\n')));
  const cases = [
    ['a shared sense', '限制', '约束', true],
    ['only "of" in common', '一般', '一种', false],
    ['only a surname in common', '花', '费', false],
  ];
  for (const [name, a, b, expected] of cases) await t.test(name, () => assert.equal(isSynonym(a, b), expected));
});

test('senses of the reading shown', async (t) => {
  const cases = [
    ['a homograph label goes, its senses stay', '就是', '就是1①用在句末表示肯定。就是2 [jiùshì]连词，表示假设的让步。', 'jiù shì',
      '①用在句末表示肯定。②连词，表示假设的让步。'],
    ['a homograph of another reading goes', '好好', '好好1①平常。好好2 [hǎohāor]②尽力地。', 'hǎo hǎo', '平常。'],
    ['a sense noted for another reading goes', '一抹', '①一条。②（－ｍā）一擦。', 'yī mǒ', '一条。'],
    ['where a note fits, the senses without one go', '与会', '①和他人会面。②（ｙù－）参加会议。', 'yù huì', '参加会议。'],
    ['a bare pointer, damage and typesetting codes go', '厮守', '①见“相守”（762页）。②相守；[kg4]在一起。③万分惋┫В。', 'sī shǒu',
      '相守；在一起。'],
    ['what only leads into the damage goes', '沙丁鱼', '又称。妫3b！薄Ｓ补怯。', 'shā dīng yú', ''],
  ];
  for (const [name, word, raw, shown, expected] of cases) {
    await t.test(name, () => assert.equal(wordSenses(word, raw, isKnownWord, {}, {}, { shown }), expected));
  }
  await t.test('a word takes the reading its notes give when none is the one shown',
    () => assert.equal(notedReading('高句丽', '（句ｇōｕ）朝鲜古国。', 'gāo jù lì'), 'gāo gōu lì'));
});

test('otherReadingRule', async (t) => {
  const dictionary = {
    没收: 'mò shōu', 没: [['méi', ['not']], ['mò', ['drowned', 'to end']]],
    那: [['nà', ['that']], ['nǎ', ['variant of 哪[na3]']]],
  };
  const sources = {
    wordReading: (w) => (typeof dictionary[w] === 'string' ? dictionary[w].split(' ') : null),
    characterReadings: (c) => (Array.isArray(dictionary[c]?.[0]) ? dictionary[c].map(([reading, senses]) => ({ reading, senses })) : []),
  };
  const cases = [
    ['a word that reads the character otherwise', '没有', '犹没收。', ['méi', 'yǒu'], 'word'],
    ['the form another reading stands for', '那些', '哪里。', ['nà', 'xiē'], 'variant'],
    ['a plain definition by such a word', '没奈何', '没收。', ['méi', 'nài', 'hé'], ''],
    ['a sense of the reading shown', '那些', '那一些。', ['nà', 'xiē'], ''],
  ];
  for (const [name, word, sense, shown, expected] of cases) {
    await t.test(name, () => assert.equal(otherReadingRule(word, sense, shown, sources), expected));
  }
});

test('withoutExampleOpening', async (t) => {
  const lexicon = new Map(Object.entries({
    令人: 'nr', 喜爱: 'v', 孩子: 'n', 活泼: 'a', 天气: 'n', 闷热: 'a', 表示: 'v', 可能: 'v', 肯定: 'v',
    爱惜: 'v', 保护: 'v', 公物: 'n', 在: 'p', 事业: 'n', 上: 'f', 建树: 'n', 成就: 'n', 他: 'r', 的: 'uj',
    次序: 'n', 发生: 'v', 假期: 't', 里: 'f', 我: 'r', 通常: 'd', 正常: 'd', 情况: 'n', 下: 'f', 哎呀: 'e', 严重: 'a',
  }).map(([w, tag]) => [w, { count: 100, tag }]));
  const cases = [
    ['a subject before its predicate', '可爱', '令人喜爱。', '令人喜爱孩子活泼～。', '令人喜爱。'],
    ['a clause before the comma', '也许', '表示可能，不肯定天气闷热。', '表示可能，不肯定天气闷热，～会下雨。', '表示可能，不肯定。'],
    ['a preposition and its object', '作为', '建树；成就在事业上。', '建树；成就在事业上无所～。', '建树；成就。'],
    ['a definition ending in its object stays', '爱护', '爱惜并保护。', '爱惜并保护～公物。', '爱惜并保护。'],
    ['a place the example opens with', '先后', '表示顺着次序发生假期里。', '表示顺着次序发生假期里我～读了四本小说。', '表示顺着次序发生。'],
    ['a place the definition frames stays', '一般', '通常；在正常情况下。', '通常；在正常情况下～说来，不会出事。', '通常；在正常情况下。'],
    ['an interjection the example opens with', '了得', '表示情况严重哎呀！', '表示情况严重哎呀！这还～！', '表示情况严重'],
    ['what follows a note in brackets', '呱嗒', '说话（含贬义）乱。', '说话（含贬义）乱～一阵。', '说话（含贬义）。'],
    ['what completes the definition after a note stays', '开通', '使原来闭塞的（如风气等）不闭塞。',
      '使原来闭塞的（如风气等）不闭塞～风气。', '使原来闭塞的（如风气等）不闭塞。'],
    ['a sense left whole stays', '作为', '建树；成就在事业上无所作为。', '建树；成就在事业上无所～。', '建树；成就在事业上无所作为。'],
  ];
  for (const [name, word, definition, sense, expected] of cases) {
    await t.test(name, () => assert.equal(withoutExampleOpening(definition, sense, word, lexicon), expected));
  }
});

test('synonymListDefinition', async (t) => {
  const lexicon = new Map(Object.entries({
    一样: 'r', 同样: 'd', 别: 'r', 和: 'c', 他: 'r', 见识: 'n', 冒犯: 'v', 触怒: 'v', 超出: 'v', 一般: 'a', 杰出: 'a',
    卓越: 'a', 人材: 'n', 冷僻: 'a', 不常: 'd', 常见: 'a', 字词: 'n', 珍爱: 'v', 值得: 'v', 贵重: 'a', 重视: 'v',
    消磨: 'v', 度过: 'v', 时间: 'n', 错误: 'n', 这事: 'r', 重要: 'a', 非常: 'd', 一个: 'm', 相同: 'd', 样子: 'n',
    说谎: 'v', 撒谎: 'v', 利用: 'v', 摄影: 'n', 摄影机: 'n', 淫秽: 'a', 下流: 'a', 猥亵: 'v', 平静: 'a', 宁静: 'a', 静听: 'v',
    非: 'd', 全体: 'n', 局部: 'n', 麻醉: 'v', 差: 'a', 比起: 'v', 洋货: 'n', 到底: 'd', 终究: 'd', 毕竟: 'd', 试验: 'vn',
  }).map(([w, tag]) => [w, { count: { 宁静: 500, 常见: 300 }[w] ?? 100, tag }]));
  const synonyms = new Set(['说谎 撒谎', '利用 摄影', '淫秽 猥亵']);
  const { splitsAt } = learnExampleBoundaries([], lexicon);
  const isSynonym = (a, b) => synonyms.has(`${a} ${b}`);
  const cases = [
    ['the example after the last synonym', '一般', '一样；同样别和他一般见识。', '一样；同样。'],
    ['a note in brackets stays with the synonym', '打发', '度过；消磨（时间）他整天打发光阴。', '度过；消磨（时间）。'],
    ['a definition going on with an adjective', '卓越', '杰出；超出一般卓越人材。', null],
    ['but not a list of adverbs', '终于', '副词。到底；终究；毕竟试验终于成功了。', '副词。到底；终究；毕竟。'],
    ['a last synonym of several words', '局部', '一部分；非全体局部麻醉。', '一部分；非全体。'],
    ['a one-character adjective is a synonym of its own', '逊色', '比不上；差比起洋货来丝毫也不逊色。', null],
    ['a word across the seam', '偏僻', '冷僻；不常见偏僻的字词。', null],
    ['but not one the likeliest words leave apart', '和平', '平静；宁静听了这番话，他心里和平了一些。', '平静；宁静。'],
    ['a list before the word', '珍贵', '贵重；值得珍爱、重视其画尤珍贵。', null],
    ['a pronoun opens the example', '差错', '错误；这事非常重要，不能有半点差错。', null],
    ['a numeral waits for its head', '一律', '相同；一个样子千篇一律。', null],
    ['no synonym-long word after the synonyms', '冲突', '争执；发生了冲突。', null],
    ['one synonym before an example about someone', '撒谎', '说谎你老实说，不要撒谎。', '说谎。'],
    ['one synonym the definition goes on from', '猥亵', '淫秽下流猥亵之词。', null],
    ['one synonym before a longer word holding the word', '摄影', '利用摄影机将影像记录下来。', null],
    ['one word that CC-CEDICT does not liken', '一般', '一样别和他一般见识。', null],
  ];
  for (const [name, word, sense, expected] of cases) {
    await t.test(name, () => assert.equal(synonymListDefinition(sense, word, lexicon, isSynonym, splitsAt), expected));
  }
});

test('glosses: the character at its place, in a reading it has', async (t) => {
  const lexicon = new Map([['大规模', { count: 3965, tag: 'b' }], ['规模', { count: 11239, tag: 'n' }],
    ['墙', { count: 5461, tag: 'n' }], ['高大', { count: 1737, tag: 'a' }]]);
  const cases = [
    ['the idiom paraphrased on from the character', '物在人亡', '人死了，东西还在。指怀念死者。', []],
    ['a word the character makes with the gloss', '大动干戈', '干戈古代的两种武器。大规模地进行战争。比喻大张声势地行事。', []],
    ['a gloss that goes back in the phrase', '踡天蹐地', '踡弯腰；蹐小步走。天虽高，却不得不弯着腰。形容处境困窘。', [['踡', '弯腰'], ['蹐', '小步走']]],
    ['what the thing is like', '丰墙峭阯', '墙高大而地基陡直。比喻根基不牢。', []],
    ['a question retold', '种瓜得瓜', '种什么，收什么。比喻做了什么事，得到什么样的结果。', []],
  ];
  for (const [name, phrase, raw, expected] of cases) {
    await t.test(name, () => assert.deepEqual(phraseGlosses(phrase, raw, lexicon).map((g) => [g.character, g.gloss]), expected));
  }
  const readings = { 着: ['zhāo', 'zháo', 'zhe', 'zhuó'], 家: ['jiā'], 姑: ['gū'], 没: ['méi', 'mò'], 殁: ['mò'] };
  const sources = {
    listedReadings: (c) => readings[c] ?? [],
    phraseReadings: (phrase) => (phrase === '着书立说' ? ['zhù', 'shū', 'lì', 'shuō'] : null),
    betterSpelled: (phrase) => phrase === '威望素着',
  };
  const fits = [
    ['a dictionary reads it otherwise', { character: '着', gloss: '写作', phrase: '着书立说', position: 0 }, false],
    ['the phrase is better spelled with another form', { character: '着', gloss: '明显', phrase: '威望素着', position: 3 }, false],
    ['it stands for a character of another reading', { character: '家', gloss: '通姑，丈夫的母亲', phrase: '阿家阿翁', position: 1 }, false],
    ['it stands for a character of its reading', { character: '没', gloss: '同殁，死', phrase: '没而不朽', position: 0 }, true],
  ];
  for (const [name, found, expected] of fits) await t.test(name, () => assert.equal(glossOfListedReading(found, sources), expected));
});

test('classical senses', async (t) => {
  const cases = [
    ['every sense marked', ['①旧日的行事制度。', '②古代的一种礼。'], true],
    ['one modern sense among them', ['①旧时女子自称。', '②一样；同样。'], false],
    ['an old sense gone on to the present', ['原指古代宫室建成时举行祭礼，后指建筑工程完工。'], false],
    ['no mark', ['①存在。'], false],
  ];
  for (const [name, senses, expected] of cases) await t.test(name, () => assert.equal(isClassicalExplanation(senses), expected));
  const earliest = [
    ['the historical dictionary beyond the senses shown', '1.存在。 \n2.指目前活着。 \n3.现世，今生。 \n4.泛指此时﹑目前。', true],
    ['all its senses shown', '1.前辈。 \n2.首先仕进。 \n3.犹先行。', false],
    ['the modern dictionary\'s senses', '①一样。②一种。③通常。④普通。', false],
  ];
  for (const [name, raw, expected] of earliest) await t.test(name, () => assert.equal(showsOnlyEarliestSenses(raw), expected));
  const surnames = [['only a surname', ['复姓。东汉时有第五伦。'], true], ['a surname and a place', ['①复姓。', '②古地名。'], false]];
  for (const [name, senses, expected] of surnames) await t.test(name, () => assert.equal(onlyNamesASurname(senses), expected));
  await t.test('the life of a person', () => assert.equal(isLifeOfAPerson('中国无产阶级革命家。山东东平人。1936年入党。'), true));
  await t.test('a sense naming people', () => assert.equal(isLifeOfAPerson('1.泛称许多人。'), false));
});

test('markWrittenOutWord: the word in its own example, not in its definition', async (t) => {
  const lexicon = new Map([['附着', { count: 10 }], ['手上', { count: 10 }]]);
  const cases = [
    ['an example after the definition', '一般', '一样；同样别和他一般见识。', '一样；同样别和他～见识。'],
    ['the example of a later sentence', '得罪', '客套语。犹言对不起得罪之处，尚祈涵。', '客套语。犹言对不起～之处，尚祈涵。'],
    ['part of a longer word', '着手', '触手；附着手上。', '触手；附着手上。'],
    ['named in a list', '独奏', '演奏，如小提琴独奏、钢琴独奏等。', '演奏，如小提琴独奏、钢琴独奏等。'],
    ['before a bracket', '喀斯特', '指岩溶。由海岸的喀斯特（karst）高地而得名。', '指岩溶。由海岸的喀斯特（karst）高地而得名。'],
    ['after a comma in its sentence', '露馅', '比喻事物暴露出来物证面前，谎言露馅了。', '比喻事物暴露出来物证面前，谎言露馅了。'],
    ['quoted', '这个', '1.亦作"这个"。', '1.亦作"这个"。'],
    ['in the first clause where asked', '先后', '前后次序事有先后。', '前后次序事有～。', true],
    ['named by the first clause', '内分泌', '这种分泌叫内分泌。', '这种分泌叫内分泌。', true],
    ['the first clause going on with it', '逃亡', '收容逃亡的人。', '收容逃亡的人。', true],
  ];
  for (const [name, word, sense, expected, inFirstClause = false] of cases) {
    await t.test(name, () => assert.equal(markWrittenOutWord(word, sense, lexicon, { inFirstClause }), expected));
  }
});

test('otherReadings', () => {
  const entries = [
    { pinyin: 'gu4 shi4', senses: ['old practice'] },
    { pinyin: 'gu4 shi5', senses: ['narrative; story; tale'] },
    { pinyin: 'Gu4 shi4', senses: ['surname Gushi'] },
    { pinyin: 'gu4 shir5', senses: ['erhua variant of 故事|故事[gu4 shi5]'] },
  ];
  assert.equal(otherReadings(entries, 'gù shì'), '另读 gù shi：narrative; story; tale');
});

test('isDamaged and readingNote', async (t) => {
  const damaged = [
    ['box drawing', '万分惋┫В万分高兴', true], ['kana', '《战国┎摺ぱ嗖呷》', true], ['a lost character in a form', '亦作“？子”', true],
    ['a formula', '压强小于101325×10帕', false], ['a question', '你怎么那样挑剔？！', false],
  ];
  for (const [name, text, expected] of damaged) await t.test(name, () => assert.equal(isDamaged(text), expected));
  const notes = [
    ['the first syllable', '（ｙù－）参加会议', '与会', 'yù huì', true],
    ['the last syllable', '（－ｄàｏ）全部倒出来', '倾倒', 'qīng dǎo', false],
    ['a character named', '（句ｇōｕ）朝鲜古国', '高句丽', 'gāo gōu lí', true],
  ];
  for (const [name, sense, word, shown, fits] of notes) await t.test(name, () => assert.equal(readingNote(sense, word, shown)?.fits, fits));
  await t.test('chemistry is no reading note', () => assert.equal(readingNote('羟基（-oh）', '硝基', 'xiāo jī'), null));
});
