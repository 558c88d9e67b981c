// The cleaning rules of the idiom extractor, one table per rule.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import {
  cleanExplanation, extractExample, extractSource, hasMojibake, isCrossReferenceOnly,
  rejectionReason,
} from '../../../tools/common/explanation-text.mjs';
import { PINYIN_CORRECTIONS } from '../../../tools/chengyu/pinyin-corrections.mjs';

test('cleanExplanation', async (t) => {
  const cases = [
    ['sense numbers go, senses get a line each',
      '1.每战必胜。 \n2.比喻有把握。', '每战必胜。\r\n比喻有把握。'],
    ['circled sense numbers split the senses',
      '①勉强，凑合。②勤恳；辛劳。', '勉强，凑合。\r\n勤恳；辛劳。'],
    ['small comma and enumeration comma become the usual ones',
      '1.形容自爱﹑谨慎﹐不失一。', '形容自爱、谨慎，不失一。'],
    ['ASCII double quotes alternate open and close',
      '1.见"甲乙"与"丙丁"。', '见“甲乙”与“丙丁”。'],
    ['single quotes nest inside double ones',
      '《论语》"子曰\'赐也。\'"', '《论语》“子曰‘赐也。’”'],
    ['quotes restart on every sense, so one odd sense does not flip the next',
      '1.亦作"甲。 \n2.见"乙丙"。', '亦作“甲。\r\n见“乙丙”。'],
    ['title separators become middle dots', '1.《诗．周颂．良耜》', '《诗·周颂·良耜》'],
    ['an origin mark ends the sentence', '原指甲乙◇形容丙丁。', '原指甲乙。形容丙丁。'],
    ['an origin mark after a full stop is dropped', '原指甲乙。◇形容丙丁。', '原指甲乙。形容丙丁。'],
    ['a lost opening quote after a variant keyword is restored',
      '形容人多。同骈肩累迹”。', '形容人多。同“骈肩累迹”。'],
    ['the second of two variants gets its quote back too',
      '亦作"只影孤形"、只影单形”。', '亦作“只影孤形”、“只影单形”。'],
    ['犹言 is one keyword', '犹言百战百胜”。', '犹言“百战百胜”。'],
    ['a quote that is already open is left alone',
      '“也作甲乙”。', '“也作甲乙”。'],
    ['ASCII semicolon and exclamation mark become full width', '1.每战必胜;战无不胜!', '每战必胜；战无不胜！'],
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
  ];
  for (const [name, raw, expected] of cases) {
    await t.test(name, () => assert.equal(hasMojibake(raw), expected));
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
    ['only a cross-reference', '1.见"以莛撞钟"。', 'cross-reference'],
    ['five characters are too short', '1.众兽之王。', 'short-explanation'],
    ['six characters, punctuation included, are enough', '1.指婴儿出生。', ''],
    ['blanks do not count', '1.众兽之王 。 ', 'short-explanation'],
  ];
  for (const [name, raw, expected] of cases) {
    await t.test(name, () => assert.equal(rejectionReason(raw), expected));
  }
});

test('extractSource', async (t) => {
  const cases = [
    ['opens with a quoted title', '《韩非子·五蠹》“事异则备变。”', '《韩非子·五蠹》'],
    ['opens with a title that records the story', '《韩非子·外储说左上》载郑国有人买鞋。', '《韩非子·外储说左上》'],
    ['opens with author and title and a quotation', '汉刘向《说苑·杂言》“夫君子爱口。”后以喻珍惜名声。', '《说苑·杂言》'],
    ['语出 in the middle', '比喻不能成功。语出《楞严经》卷六“如蒸沙石。”', '《楞严经》'],
    ['语本 with an author', '比喻愚昧。语本汉刘向《新序·杂事二》“反裘而负刍。”', '《新序·杂事二》'],
    ['典出', '比喻事物。典出《庄子·逍遥游》。', '《庄子·逍遥游》'],
    ['a title that is only named', '《白雪》《阳春》是两支高雅歌曲。', ''],
    ['a title later in the text without a marker', '原指隐者。《三国志》“诸葛孔明者，卧龙也。”', ''],
    ['no title at all', '谓每战必胜。', ''],
  ];
  for (const [name, cleaned, expected] of cases) {
    await t.test(name, () => assert.equal(extractSource(cleaned), expected));
  }
});

test('extractExample', async (t) => {
  const cases = [
    ['a later work quoting the idiom',
      '悲而不过分。《论语·八佾》“乐而不淫，哀而不伤。”鲁迅《汉文学史纲要》：“哀而不伤，乐而不淫。”',
      '哀而不伤', '鲁迅《汉文学史纲要》：“哀而不伤，乐而不淫。”'],
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

test('every pinyin correction has one well-formed syllable per character', () => {
  const syllable = /^[a-zāáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜü]+$/u;
  for (const [phrase, reading] of Object.entries(PINYIN_CORRECTIONS)) {
    const syllables = reading.split(' ');
    assert.equal(syllables.length, [...phrase].length, phrase);
    for (const s of syllables) assert.match(s, syllable, phrase);
  }
});
