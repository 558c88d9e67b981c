// The text rules of a character entry: which senses, words and variant forms
// it shows. Pure functions, so extract-characters.mjs and its tests share them.

import { MIN_GLOSSED_PHRASE } from './character-glosses.mjs';
import { markPinyin, markSyllable } from '../common/cc-cedict.mjs';
import { hanCount, senseDefinition, splitSenses } from '../common/explanation-text.mjs';

export { markPinyin, markSyllable };

// Adds to one of the figures a builder reports.
export function count(tally, name, by = 1) {
  tally[name] = (tally[name] ?? 0) + by;
}

export function oneLine(text) {
  return text.replace(/[\t\r\n]+/g, ' ').replace(/ {2,}/g, ' ').trim();
}

// A CC-CEDICT sense that only says a form is a variant of this very character
// ("old variant of 卻|却[que4]" under 却) tells the reader nothing.
export function isSelfVariantSense(ch, sense) {
  const match = /variant of ([^\s[\],;]+)/.exec(sense);
  return match !== null && match[1].split('|').includes(ch);
}

const REFERENCE_SENTENCE =
  /^(亦作|也作|又作|或作|亦称|也称|又称|也说|亦写作|参见|见|同)((?:[“]?[^“”，。；、]+”、?)+)(。?)$/u;

// Drops the sentences of a word's explanation that only name the word itself
// as its own variant (亦作“一伙” under 一伙, left over from a traditional form),
// and the word from a list of variants that also names others.
export function dropSelfReferences(word, text) {
  const sentences = text.split(/(?<=。)/u);
  const kept = [];
  for (const sentence of sentences) {
    const match = REFERENCE_SENTENCE.exec(sentence);
    if (!match) {
      kept.push(sentence);
      continue;
    }
    const forms = match[2].split('、').map((f) => f.replace(/[“”]/gu, '')).filter(Boolean);
    const others = forms.filter((f) => f !== word);
    if (others.length === forms.length) kept.push(sentence);
    else if (others.length) kept.push(`${match[1]}${others.map((f) => `“${f}”`).join('、')}${match[3]}`);
  }
  return kept.join('');
}

// The part of an idiom that a sentence glosses before the idiom's own sense
// ("问心问问自己。" under 问心无愧 glosses 问心), or ''. The source lost the
// colon after the part; a sentence whose opening runs on into a known word
// ("一声呼唤" under 一呼百应) or that names other characters of the idiom in
// its first clause paraphrases the whole idiom instead.
export function glossedPart(word, sentence, isKnownWord) {
  const chars = [...word];
  if (chars.length < 4) return '';
  // "呼、喝：喊叫" glosses two characters at once.
  const listed = /^([\u3400-\u9fff](?:、[\u3400-\u9fff])+)：/u.exec(sentence)?.[1];
  if (listed && listed.split('、').every((c) => chars.includes(c))) return listed;
  let part = '';
  for (let start = 0; start < chars.length; start++) {
    for (let end = start + 1; end <= chars.length; end++) {
      const candidate = chars.slice(start, end).join('');
      if (end - start < chars.length && candidate.length > part.length && sentence.startsWith(candidate)) {
        part = candidate;
      }
    }
  }
  if (!part) return '';
  const rest = [...sentence.slice(part.length)];
  if (rest[0] === '：') return part;
  if (rest.length < 2 || (part === chars[0])) return '';
  const last = [...part].at(-1);
  if (isKnownWord(last + rest[0]) || isKnownWord(last + rest[0] + rest[1])) return '';
  for (let n = 1; n <= 3; n++) if (isKnownWord(part + rest.slice(0, n).join(''))) return '';
  const clause = rest.join('').split(/[，；。：]/u)[0];
  if (chars.some((c) => !part.includes(c) && clause.includes(c))) return '';
  return part;
}

// The first senses of a cnchar-data explanation, numbered when there are
// several, each cleaned as the idioms are (gloss colons back, run-in examples
// split off by cleaning.examples and left out) and cut to its first sentence
// that explains the whole word rather than a part of it or its other names.
// cleaning: { lexicon, examples } of senseDefinition. Counts go to tally.
const MAX_WORD_SENSES = 3;
const SENSE_NUMBERS = '①②③';
const MAX_LABEL_CHARACTERS = 3;
// A sentence that only gives another name ("也称“垄断资本主义”。") before
// the explanation proper.
const OTHER_NAME = /^(?:亦称|也称|又称|简称|省称|俗称|通称|亦作|也作|又作|或作)“?[^“”。]+”。?$/u;

export function wordSenses(word, explanation, isKnownWord, cleaning = {}, tally = {}) {
  const senses = [];
  for (const raw of splitSenses(explanation)) {
    if (senses.length === MAX_WORD_SENSES) break;
    // Gloss colons only come back in idioms.
    const cleaned = senseDefinition(raw, word, [...word].length >= MIN_GLOSSED_PHRASE ? cleaning : { ...cleaning, lexicon: null });
    const text = dropSelfReferences(word, cleaned);
    if (text !== cleaned) count(tally, 'selfReferences');
    const sentences = text.split(/(?<=。)/u).filter((s) => s.trim());
    let first = 0;
    let glossed = false;
    while (first + 1 < sentences.length) {
      if (glossedPart(word, sentences[first], isKnownWord)) glossed = true;
      else if (!OTHER_NAME.test(sentences[first])) break;
      first++;
    }
    if (glossed) count(tally, 'partGlosses');
    let lead = sentences[first] ?? '';
    // "代词。" or "表数量。" only labels the sentence after it.
    if (hanCount(lead) <= MAX_LABEL_CHARACTERS && first + 1 < sentences.length) lead += sentences[first + 1];
    const sense = oneLine(lead.replace(/～/g, word).replace(/ㄧ/g, '｜'));
    if (sense) senses.push(sense);
  }
  if (senses.length <= 1) return senses.join('');
  return senses.map((sense, i) => SENSE_NUMBERS[i] + sense).join('');
}

// Mojibake in cnchar-data shows as stray brackets, replacement characters or
// hexadecimal codes in place of a character.
export function looksBroken(text) {
  return /[『』\ufffd]/.test(text) || /(?<![A-Za-z0-9])(?=[0-9a-f]*[a-f])[0-9a-f]{4}(?![A-Za-z0-9])/.test(text) ||
    [...text].length < 2;
}

// Of a word's CC-CEDICT entries, the one whose reading the word usually has:
// common nouns before proper ones, then, where the readings differ, the one
// a pinyin converter gives the word as a whole (重点 is zhòng diǎn, not chóng
// diǎn; usualReading is only asked then), then the first.
export function usualEntry(entries, usualReading) {
  const lower = entries.filter((e) => e.pinyin === e.pinyin.toLowerCase());
  const pool = lower.length ? lower : entries;
  const readings = pool.map((e) => markPinyin(e.pinyin.toLowerCase()));
  if (new Set(readings).size < 2) return pool[0];
  const usual = usualReading();
  return pool[readings.indexOf(usual)] ?? pool[0];
}

// cnchar-data marks an entry of one reading with "另见" and the other
// reading; when that other reading is the one shown, the text explains
// another word (行车 "另见xíngchē" is the háng chē entry).
export function explainsAnotherReading(explanation, markedPinyin) {
  const plain = (text) => text.normalize('NFC').replace(/[\s·]/gu, '').replace(/ɑ/gu, 'a');
  const shown = plain(markedPinyin);
  for (const match of explanation.matchAll(/另见([a-zA-Zāáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüɑ· ]+)/gu)) {
    if (plain(match[1]) === shown) return true;
  }
  return false;
}

// The forms a 简体 or 繁体 line lists: Unihan's, without the character
// itself, which comes first when it is also a form of its own (干 stays 干 in
// 干戈 beside 乾 and 幹).
export function listedForms(ch, unihanForms, isOwnForm) {
  const forms = [...new Set(unihanForms)];
  const others = forms.filter((f) => f !== ch);
  if (!others.length) return [];
  return forms.includes(ch) && isOwnForm ? [ch, ...others] : others;
}
