// Cleaning and classification of cnchar-data's explanations of idioms and
// words. Pure functions, so the rules can be tested on their own.

// Small form variants and other stand-ins used by the source text.
const PUNCTUATION_MAP = new Map([
  ['﹐', '，'], ['﹑', '、'], ['﹕', '：'], ['﹔', '；'], ['﹖', '？'], ['﹗', '！'],
  ['﹝', '〔'], ['﹞', '〕'], ['∶', '。'],
  ['〖', '“'], ['〗', '”'],
]);

const HAN_GLOBAL = /[\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff]/gu;
const CIRCLED_NUMBERS = '①②③④⑤⑥⑦⑧⑨⑩';

// A question mark that follows one of these within its clause asks a
// question; any other '?' in this text stands for a character lost in
// conversion.
const QUESTION_WORDS = /(何|谁|孰|岂|怎|哪|吗|呢|乎|哉|耶|欤|邪|焉|安|奚|曷|胡|么|否|几|难道|什么|多少|可乎|如之)/u;

export function hanCount(text) {
  return (text.match(HAN_GLOBAL) ?? []).length;
}

function isLegitimateQuestionMark(text, index) {
  // Ending the text or a quotation, it closes a question whatever the words.
  if (/^(?:$|[\s"'”’])/u.test(text.slice(index + 1, index + 2))) return true;
  const clauseStart = Math.max(
    text.lastIndexOf('。', index), text.lastIndexOf('，', index), text.lastIndexOf('；', index),
    text.lastIndexOf('“', index), text.lastIndexOf('"', index - 1), text.lastIndexOf('\'', index - 1),
    text.lastIndexOf('?', index - 1), text.lastIndexOf('!', index - 1), text.lastIndexOf('\n', index));
  const clause = text.slice(clauseStart + 1, index);
  return hanCount(clause) >= 2 && QUESTION_WORDS.test(clause);
}

// What an explanation may hold besides Chinese characters: the punctuation of
// the source text, pinyin with tone marks, Latin letters and digits.
const EXPECTED_CHARACTER =
  /[\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff，。、；：？！“”‘’《》〈〉（）〔〕［］【】…—～·｜ㄧ①②③④⑤⑥⑦⑧⑨⑩〖〗＝﹐﹑﹕﹔﹖﹗﹝﹞∶◇．\s\u3000A-Za-z0-9.,:;!?'"()\-%āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüê]/u;

// Lost characters show up as stray symbols (box drawing, kana, '∥', U+FFFD)
// or as a '?' where no question is asked.
export function hasMojibake(raw) {
  for (const ch of raw) if (!EXPECTED_CHARACTER.test(ch)) return true;
  for (let i = raw.indexOf('?'); i >= 0; i = raw.indexOf('?', i + 1)) {
    if (!isLegitimateQuestionMark(raw, i)) return true;
  }
  return false;
}

function replaceMappedPunctuation(text) {
  let out = '';
  for (const ch of text) out += PUNCTUATION_MAP.get(ch) ?? ch;
  return out;
}

// Titles are written 《书名．篇名》 in the source; the usual separator is '·'.
function normalizeTitles(text) {
  return text.replace(/《[^《》]*》/gu, (title) => title.replace(/[．.。]/gu, '·'));
}

// '◇' separates an account of the origin from the later sense.
function replaceOriginMarks(text) {
  return text.replace(/([。！？”])?◇/gu, (_, end) => (end ? end : '。'));
}

// One entry was stored twice, the copy introduced by 【idiom】.
function dropRepeatedEntry(text) {
  const copy = text.match(/^(.*?)[\s\u3000]*【[^】]*】(.*)$/su);
  if (copy && copy[1].trim() === copy[2].trim()) return copy[1];
  return text;
}

// ASCII quotes alternate open/close within one sense; ASCII ; ! ? ( ) become
// their full-width forms, as the rest of the text uses.
function fullWidthPunctuation(line) {
  let doubleOpen = true;
  let singleOpen = true;
  let out = '';
  for (const ch of line) {
    if (ch === '"') {
      out += doubleOpen ? '“' : '”';
      doubleOpen = !doubleOpen;
    } else if (ch === '\'') {
      out += singleOpen ? '‘' : '’';
      singleOpen = !singleOpen;
    } else if (ch === ';') {
      out += '；';
    } else if (ch === '!') {
      out += '！';
    } else if (ch === '?') {
      out += '？';
    } else if (ch === '(') {
      out += '（';
    } else if (ch === ')') {
      out += '）';
    } else {
      out += ch;
    }
  }
  return out;
}

// Whether no quotation is open at this index of the line.
function quotationClosedAt(line, index) {
  const before = line.slice(0, index);
  return (before.match(/“/gu) ?? []).length <= (before.match(/”/gu) ?? []).length;
}

function escapeRegExp(text) {
  return text.replace(/[.*+?^${}()|[\]\\]/gu, '\\$&');
}

// Part of the source lost its opening quotes ("也作百折不回”", "《孟子》圣人
// 之于民…”", "后以破釜沉舟”比喻"). A closing quote with none open gets its
// opening one back where the start is plain: after a variant keyword or a
// quoted variant and "、", after the title just before the quotation, or
// before the idiom itself.
function restoreOpeningQuotes(line, idiom) {
  let text = line.replace(
    /(同|亦作|也作|又作|或作|亦称|又称|也称|也说|亦说|简称|省作|犹言|犹|自称|俗称|通称|合称|通|与|”、)([^“”，。；：、\s]{2,12})”/gu,
    (whole, keyword, variant, offset) =>
      (quotationClosedAt(line, offset + keyword.length) ? `${keyword}“${variant}”` : whole));
  const afterTitle = text;
  text = afterTitle.replace(/》([\u3400-\u9fff][^“”《》]*)”/gu, (whole, quotation, offset) =>
    (quotationClosedAt(afterTitle, offset) ? `》“${quotation}”` : whole));
  if (idiom) {
    const beforeIdiom = text;
    text = beforeIdiom.replace(new RegExp(`(?<!“)${escapeRegExp(idiom)}”`, 'gu'), (whole, offset) =>
      (quotationClosedAt(beforeIdiom, offset) ? `“${idiom}”` : whole));
  }
  return text;
}

// Senses: one per line, without "1." or "①" numbering.
export function splitSenses(raw) {
  const text = dropRepeatedEntry(raw.replace(/\r\n?/gu, '\n'));
  const senses = [];
  for (const line of text.split('\n')) {
    const pieces = line.split(new RegExp(`(?=[${CIRCLED_NUMBERS}])`, 'u'));
    for (const piece of pieces) {
      const sense = piece
        .replace(new RegExp(`^[\\s\\u3000]*(?:\\d+\\.|[${CIRCLED_NUMBERS}])`, 'u'), '')
        .replace(/^[\s\u3000]+|[\s\u3000]+$/gu, '');
      if (sense) senses.push(sense);
    }
  }
  return senses;
}

export function cleanSense(sense, idiom = '') {
  let text = replaceMappedPunctuation(sense);
  text = fullWidthPunctuation(text);
  text = normalizeTitles(text);
  text = replaceOriginMarks(text);
  text = restoreOpeningQuotes(text, idiom);
  return text;
}

// The cleaned explanation of idiom, senses joined with CR LF (the entry's
// own line end).
export function cleanExplanation(raw, idiom = '') {
  return splitSenses(raw).map((sense) => cleanSense(sense, idiom)).join('\r\n');
}

const CROSS_REFERENCE = /^(?:见|同|参见|参看|亦作|也作|又作|犹|犹言|即|通)“[^“”]+”(?:[。，；]?(?:亦作|也作|又作)?“[^“”]+”)*[。]?$/u;

// "犹言平安无事。": a pointer to another idiom of the list, without quotes.
const UNQUOTED_REFERENCE = /^(?:犹言|犹|见|同|即|亦作|也作)([^“”，。；、\s]{3,12})。?$/u;

function isCrossReference(sense, knownIdioms) {
  if (CROSS_REFERENCE.test(sense)) return true;
  const unquoted = sense.match(UNQUOTED_REFERENCE);
  return unquoted !== null && knownIdioms.has(unquoted[1]);
}

export function isCrossReferenceOnly(cleaned, knownIdioms = new Set()) {
  const senses = cleaned.split('\r\n').filter((s) => s.length > 0);
  return senses.length > 0 && senses.every((s) => isCrossReference(s, knownIdioms));
}

// Counting punctuation: "指婴儿出生。" is just long enough.
const MIN_EXPLANATION_CHARACTERS = 6;

// Why an explanation cannot be used, or '' when it can. Checked in this
// order; a summary counts each idiom under its first reason.
export function rejectionReason(raw, knownIdioms = new Set()) {
  if (raw === undefined || raw === null || raw.trim() === '') return 'no-explanation';
  if (hasMojibake(raw)) return 'mojibake';
  const cleaned = cleanExplanation(raw);
  if (isCrossReferenceOnly(cleaned, knownIdioms)) return 'cross-reference';
  if ([...cleaned.replace(/\s/gu, '')].length < MIN_EXPLANATION_CHARACTERS) return 'short-explanation';
  return '';
}

// Up to six characters of dynasty and author may stand before a title
// ("汉刘向《新序·杂事二》").
const AUTHOR = '[\\u3400-\\u9fff]{0,6}';
// In running text the author is only taken when a clause starts there.
const CLAUSE_AUTHOR = '(?:(?<=^|[。；，：”’）\\s])[\\u3400-\\u9fff]{1,6})?';

// What follows a title that is cited rather than merely named: a quotation,
// or 载 / 记 / 云 / 曰 ("《韩非子·外储说左上》载…"), perhaps after a volume.
const CITATION_FOLLOWS = '(?:卷[一二三四五六七八九十百〇零]+)?[：:]?[“‘载记云曰]';

// The work the explanation cites as its origin: the title when the
// explanation opens with a cited 《…》 (or author《…》 and a quotation), or
// the first title after 语出 / 语本 / 典出 / 出自.
export function extractSource(cleaned) {
  const first = cleaned.split('\r\n')[0] ?? '';
  const opening = first.match(new RegExp(`^《([^《》]+)》${CITATION_FOLLOWS}`, 'u'));
  if (opening) return `《${opening[1]}》`;
  const authorOpening = first.match(new RegExp(`^${AUTHOR}《([^《》]+)》[：:]?[“‘]`, 'u'));
  if (authorOpening) return `《${authorOpening[1]}》`;
  const marked = cleaned.match(new RegExp(`(?:语出|语本|典出|出自)${AUTHOR}《([^《》]+)》`, 'u'));
  if (marked) return `《${marked[1]}》`;
  return '';
}

// A usage example can only be told apart from the explanation when it is a
// quotation that uses the idiom word for word, author《work》：“… idiom …”,
// from a later work than the first one cited (which is the origin).
export function extractExample(cleaned, idiom) {
  const citation = new RegExp(`(${CLAUSE_AUTHOR}《([^《》]+)》)[：:]?“([^“”]*)”`, 'gu');
  let firstWork = null;
  for (const match of cleaned.matchAll(citation)) {
    const [, citedAs, work, quotation] = match;
    if (firstWork === null) {
      firstWork = work;
      continue;
    }
    if (work !== firstWork && quotation.includes(idiom)) return `${citedAs}：“${quotation}”`;
  }
  return '';
}
