// The text rules of a character entry, one table per rule.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import {
  dropSelfReferences, explainsAnotherReading, glossedPart, isSelfVariantSense, listedForms,
  usualEntry, wordSenses,
} from '../../../tools/xinhua/character-entry.mjs';
import {
  briefGlosses, glossLine, harvestGlosses, phraseGlosses,
} from '../../../tools/xinhua/character-glosses.mjs';
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
  ];
  for (const [name, word, explanation, expected] of cleaned) {
    await t.test(name, () => assert.equal(wordSenses(word, explanation, isKnownWord, { lexicon, examples }), expected));
  }
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
