// Cleaning and classification of cnchar-data's explanations of idioms and
// words. Pure functions, so the rules can be tested on their own; what they
// need of the lexicon or the example model is passed in.

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

function hanCharacters(text) {
  return text.match(HAN_GLOBAL) ?? [];
}

export function hanCount(text) {
  return hanCharacters(text).length;
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
  /[\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff，。、；：？！“”‘’《》〈〉（）〔〕［］【】…—～·｜ㄧ‖○〇①②③④⑤⑥⑦⑧⑨⑩〖〗＝﹐﹑﹕﹔﹖﹗﹝﹞∶◇．\s\u3000A-Za-z0-9.,:;!?'"()\-%āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüê]/u;

// A character the source could not encode, left as four hex digits, with
// the bytes after it read out of step: "孟c02f！侗臼率·情感》". No word of
// Latin letters mixes digits in like that.
const HEX_CODE = /(?<![A-Za-z0-9])(?=[a-f]*[0-9])(?=[0-9]*[a-f])[0-9a-f]{4}(?![A-Za-z0-9])/u;

// Lost characters show up as stray symbols (box drawing, kana, '∥', U+FFFD),
// as a hex code, or as a '?' where no question is asked.
export function hasMojibake(raw) {
  for (const ch of raw) if (!EXPECTED_CHARACTER.test(ch)) return true;
  if (HEX_CODE.test(raw)) return true;
  for (let i = raw.indexOf('?'); i >= 0; i = raw.indexOf('?', i + 1)) {
    if (!isLegitimateQuestionMark(raw, i)) return true;
  }
  return false;
}

// The source lost every full-width colon, GBK A3 BA, and with it those two
// bytes wherever they straddled a full stop (A1 A3) and a character whose
// GBK lead byte is BA: "。很" (A1 A3 BA DC) became "≤" (A1 DC), "。后" became
// "◇". Such a symbol is undone where it stands between words: after a
// character, a closing mark or "～", before a character, "～" or a quote;
// one of a pair of brackets only where its partner is nowhere in the text
// ("参看〖三伏〗" keeps its brackets, "…石油〗运地位" is "。航运").
const PUNCTUATION_IN_USE = '　、。·—～‖…‘’“”〔〕〈〉《》【】○';
const BRACKET_PARTNERS = new Map([['〖', '〗'], ['〗', '〖'], ['「', '」'], ['」', '「'], ['『', '』'], ['』', '『']]);
const LOST_STOPS = (() => {
  const decoder = new TextDecoder('gbk');
  const stops = new Map();
  for (let trail = 0xa1; trail <= 0xfe; ++trail) {
    const symbol = decoder.decode(new Uint8Array([0xa1, trail]));
    const character = decoder.decode(new Uint8Array([0xba, trail]));
    if (!PUNCTUATION_IN_USE.includes(symbol) && /^\p{Script=Han}$/u.test(character)) stops.set(symbol, character);
  }
  return stops;
})();
const LOST_STOP = new RegExp(`(?<=[\\u3400-\\u9fff”’"'》）)～])([${[...LOST_STOPS.keys()].join('').replace(/[\]\\^-]/gu, '\\$&')}])`
  + '(?=[\\u3400-\\u9fff～“"])', 'gu');

export function restoreLostStops(raw) {
  return raw.replace(LOST_STOP, (symbol) => {
    const partner = BRACKET_PARTNERS.get(symbol);
    return partner && raw.includes(partner) ? symbol : `。${LOST_STOPS.get(symbol)}`;
  });
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

// The radical and its place that a printed index files a character under,
// left at the end of an entry ("…缺了点大气。阝(左)部").
function dropRadicalIndexNote(text) {
  return text.replace(/(?<=[。！？”]|^)\p{Script=Han}[(（][左右上下][)）]部[。\s]*$/u, '');
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

// Whether no pair of open and close marks ("“" and "”") is left open at this
// index of the text.
export function closedAt(text, index, open, close) {
  const before = text.slice(0, index);
  return before.split(open).length <= before.split(close).length;
}

const MARK_PAIRS = [['“', '”'], ['‘', '’'], ['（', '）'], ['〔', '〕'], ['《', '》'], ['〈', '〉']];

// Whether every open mark of text is closed before the next one opens, and
// none closes unopened.
function marksPair(text, open, close) {
  let depth = 0;
  for (const ch of text) {
    if (ch === open && ++depth > 1) return false;
    if (ch === close && --depth < 0) return false;
  }
  return depth === 0;
}

// Whether index of text stands outside quotation marks, brackets and titles.
export function outsideMarks(text, index) {
  return MARK_PAIRS.every(([open, close]) => closedAt(text, index, open, close));
}

function quotationClosedAt(line, index) {
  return closedAt(line, index, '“', '”');
}

function escapeRegExp(text) {
  return text.replace(/[.*+?^${}()|[\]\\]/gu, '\\$&');
}

// Part of the source lost its opening quotes ("也作百折不回”", "《孟子》圣人
// 之于民…”", "后以破釜沉舟”比喻"). A closing quote with none open gets its
// opening one back where the start is plain: after a variant keyword or a
// quoted variant and "、", before the idiom itself, or after the title just
// before the quotation.
const VARIANT_KEYWORD = new RegExp('(同|亦作|也作|又作|或作|亦称|又称|也称|也叫|又叫|也说|亦说|简称|省作|本作|犹言|犹|自称|俗称'
  + '|通称|合称|旧称|又名|通|与|”、|”或|(?<=^|[，。；：（）])(?:即|见))([^“”，。；：、\\s]{2,12})”', 'gu');

function restoreOpeningQuotes(line, idiom) {
  // Again until nothing changes: each restored quote opens the way for the
  // next variant in a list ("与中土”、中原”、中州”").
  let text = line;
  for (let previous = ''; previous !== text;) {
    previous = text;
    text = previous.replace(VARIANT_KEYWORD, (whole, keyword, variant, offset) =>
      (quotationClosedAt(previous, offset + keyword.length) ? `${keyword}“${variant}”` : whole));
  }
  // The idiom first: "《后汉书》载…后以投笔从戎”" quotes the idiom, not the narration.
  if (idiom) {
    const beforeIdiom = text;
    text = beforeIdiom.replace(new RegExp(`(?<!“)${escapeRegExp(idiom)}”`, 'gu'), (whole, offset) =>
      (quotationClosedAt(beforeIdiom, offset) ? `“${idiom}”` : whole));
  }
  // "《大唐新语》载唐代卢藏用…" tells the story in the dictionary's words.
  const afterTitle = text;
  return afterTitle.replace(/》([诗词赋]?)(?![载记])([\u3400-\u9fff][^“”《》]*)”/gu, (whole, genre, quotation, offset) =>
    (quotationClosedAt(afterTitle, offset) ? `》${genre}“${quotation}”` : whole));
}

// What follows the examples of a sense, or "‖": another name or form.
const NOTE = /^(?:也说|也作|也叫|也称|又作|又说|也写作)/u;

// The pieces of a line split before each circled number, less those whose
// number is another word's sense ("通告①以上通令…", "帘②竹～", "差点儿 ②不是…"):
// out of the line's own order and not after a stop, such a number goes, and
// the piece goes on the one before, its examples after "ㄧ" as the source
// sets later examples off.
function ownSenseNumbers(pieces) {
  const kept = [];
  let next = 1;
  for (const piece of pieces) {
    const number = CIRCLED_NUMBERS.indexOf(piece[0]) + 1;
    const previous = kept.at(-1);
    if (number > 0 && number !== next && previous !== undefined && !/[。；]\s*$/u.test(previous)) {
      // The quote or page the reference closes with stays on it ("同文化①”(120页)古代～").
      const [, closing, rest] = piece.slice(1).match(/^([”’]?(?:\(\d+页\))?)(.*)$/su);
      kept[kept.length - 1] = previous.replace(/\s+$/u, '') + closing + (/^[\p{Script=Han}～（]/u.test(rest) ? 'ㄧ' : '') + rest;
      continue;
    }
    if (number > 0) next = number + 1;
    kept.push(piece);
  }
  return kept;
}

// Senses: one per line, without "1." or "①" numbering. "‖" before a note
// ("‖也说家常饭") ends a sentence; elsewhere it stands between two parts of
// a sense.
export function splitSenses(raw) {
  // A line break inside a sentence before a decimal number ("等于\n4.546升")
  // is no sense's end, unlike one after a stop ("…武装。\n2.1908年…").
  const joined = restoreLostStops(raw).replace(/\r\n?/gu, '\n').replace(/(?<![。！？；”’\s])\n(?=\d+\.\d)/gu, '');
  const text = dropRadicalIndexNote(dropRepeatedEntry(joined))
    .replace(new RegExp(`。?‖(?=${NOTE.source.slice(1)})`, 'gu'), '。').replace(/‖/gu, '；');
  const senses = [];
  for (const line of text.split('\n')) {
    const pieces = ownSenseNumbers(line.split(new RegExp(`(?=[${CIRCLED_NUMBERS}])`, 'u')));
    for (const piece of pieces) {
      const sense = piece
        .replace(new RegExp(`^[\\s\\u3000]*(?:\\d+\\.|[${CIRCLED_NUMBERS}])`, 'u'), '')
        .replace(/^[\s\u3000]+|[\s\u3000]+$/gu, '');
      if (sense) senses.push(sense);
    }
  }
  return senses;
}

// Sentences of raw text, each with its full stop or "◇" and any closing
// quotes after it.
function rawSentences(text) {
  return text.match(/[^。◇\n]*(?:[。◇]["”’']*|\n|$)/gu).filter((s) => s.length > 0);
}

// What of sentence is sound before a hex code: the clauses before the one
// holding it, as a sentence; '' when the code is in its first clause. The
// bytes after a code are out of step up to no telling where.
function cutAtHexCode(sentence) {
  const code = HEX_CODE.exec(sentence);
  if (!code) return sentence;
  const clauseEnd = Math.max(...['，', '；', '：'].map((mark) => sentence.lastIndexOf(mark, code.index)));
  const lineEnd = sentence.endsWith('\n') ? '\n' : '';
  return clauseEnd > 0 ? `${sentence.slice(0, clauseEnd)}。${lineEnd}` : lineEnd;
}

// raw with its lost stops restored, cut before each hex code and without its
// one otherwise damaged sentence; null when the damage reaches more than one
// sentence or all there is.
export function dropDamagedSentence(raw) {
  const text = restoreLostStops(raw);
  const sentences = rawSentences(text).map(cutAtHexCode).filter((s) => s.length > 0);
  const damaged = sentences.filter((s) => hasMojibake(s));
  const sound = sentences.join('');
  if (damaged.length === 0) return sound.trim() === '' || hasMojibake(sound) ? null : sound;
  if (damaged.length > 1) return null;
  const rest = sentences.filter((s) => s !== damaged[0]).join('');
  return rest.trim() === '' ? null : rest;
}

// ---- glosses ----

// Where a sentence starts: the sense's start, or after "。" or "；".
function sentenceStarts(sense) {
  const starts = [0];
  for (const m of sense.matchAll(/[。；]/gu)) if (m.index + 1 < sense.length) starts.push(m.index + 1);
  return starts;
}

// The term at the start of text that a gloss may explain: the longest part
// of the phrase, or two single characters of it joined by "、" ("魂、魄").
function glossedTerm(text, phrase) {
  const characters = [...phrase];
  const pair = text.match(/^([\u3400-\u9fff])、([\u3400-\u9fff])/u);
  if (pair && characters.includes(pair[1]) && characters.includes(pair[2])) return pair[0];
  for (let length = Math.min(4, characters.length - 1); length >= 1; --length) {
    const candidate = [...text].slice(0, length).join('');
    if (hanCount(candidate) === length && phrase.includes(candidate)) return candidate;
  }
  return '';
}

// "泰平安，安定。": a term of the phrase directly followed by its gloss, the
// colon lost. Strict, since a definition may well open with a term of the
// phrase ("国家太平…", "一片和谐的…"): glosses only come first in a sense
// (after a pointer such as 犹言“…” at most) and another sentence follows
// them; a gloss is short, names at most one other character of the phrase
// and not a word-long term again ("不分黑白，不分是非"), opens with no
// particle, does not make a word with the term ("三心二意"), and no word of
// the lexicon runs from the term into it unless the gloss opens with a more
// common one ("犹如同" is 犹：如同, "国家太平" and "春天开花" are no glosses).
const POINTER_SENTENCE = /^(?:犹言|犹|同|亦作|也作|又作|见|参见)“[^“”]+”[。；]$/u;

// Characters no gloss explains: "不进老虎洞…" paraphrases 不入虎穴.
const UNGLOSSED = new Set(['不', '之']);

// The longest word of the lexicon text opens with, or its first character.
function openingWord(text, isWord) {
  const characters = [...text];
  for (let length = Math.min(4, characters.length); length > 1; --length) {
    const word = characters.slice(0, length).join('');
    if (isWord(word)) return word;
  }
  return characters[0] ?? '';
}

// Whether the sentence that a term opening the phrase starts retells the
// whole phrase rather than glossing the term: a later character of the
// phrase at its own place ("月圆则缺" under 月满则亏, "一看便知" under 一望而知)
// outside the gloss's opening word ("异：不同的" under 异曲同工 is a gloss)
// unless the gloss opens as a definition does ("脑满：指肥头大耳"), or, after
// a single character, a later clause opening with one ("桑木作弓，蓬梗为箭"
// under 桑弧蓬矢, but "愚：傻，笨，及比得上" glosses 及 as well).
const DEFINITION_OPENING = /^(?:指|比喻|形容|即|谓|犹)/u;

function retellsPhrase(term, gloss, phrase, isWord) {
  if (!phrase.startsWith(term) || DEFINITION_OPENING.test(gloss)) return false;
  const [first, ...later] = gloss.split('，');
  const sentence = [...term, ...first];
  const characters = [...phrase];
  const opening = [...term].length + [...openingWord(first, isWord)].length;
  for (let i = opening; i < Math.min(sentence.length, characters.length); ++i) {
    if (sentence[i] === characters[i]) return true;
  }
  // The parallel half: 蓬 stands to 桑弧蓬矢's second half as 桑 to its first.
  const parallel = characters[characters.length / 2];
  return [...term].length === 1 && !UNGLOSSED.has(parallel)
    && later.some((clause) => clause.startsWith(parallel) && !first.includes(parallel));
}

// Conjunctions and adverbs that need something before them.
const JOINING = new Set(['和', '及', '而', '所', '并', '也', '都', '就', '还', '又', '才', '时']);

// What tells a paraphrase from a gloss by its words: it goes on with a
// conjunction or an adverb ("狼和猪东奔西跑" is no 狼：和猪…, "数也数不清"
// no 数：也…) or tells what happened ("剑拔出来了，弓张开了").
function readsAsNarration(gloss, isWord) {
  const [first] = gloss.split('，');
  // "俱：都" glosses with the adverb alone; "也作…" names a form.
  if (JOINING.has(openingWord(first, isWord)) && [...first].length > 1 && !NOTE.test(first)) return true;
  return gloss.split('，').some((clause) => {
    const characters = [...clause];
    return characters.length >= 3 && characters.at(-1) === '了' && !isWord(characters.slice(-2).join(''));
  });
}

function glossAt(text, phrase, countOf) {
  const term = glossedTerm(text, phrase);
  if (!term || UNGLOSSED.has(term)) return null;
  const end = text.search(/[。；]/u);
  const gloss = text.slice(term.length, end < 0 ? undefined : end);
  const glossHan = hanCharacters(gloss);
  if (!/^[\u3400-\u9fff]/u.test(gloss) || /^[的地得之了着]/u.test(gloss) || glossHan.length > 12) return null;
  const isWord = (w) => countOf(w) > 0;
  if (!term.includes('、') && (retellsPhrase(term, gloss, phrase, isWord) || readsAsNarration(gloss, isWord))) return null;
  if (term.length > 1 && gloss.indexOf(term) > 0) return null;
  // "仁者见：它说是仁，智者见它说是智" retells the phrase's other half.
  const pairs = [...phrase].slice(1).map((c, i) => phrase[i] + c).filter((pair) => /^\p{Script=Han}{2}$/u.test(pair));
  const holdsPair = (pair) => term.includes(pair) || (term.length === 1 && pair.includes(term));
  if (!term.includes('、') && pairs.some((pair) => !holdsPair(pair) && gloss.includes(pair))) return null;
  const others = new Set(glossHan.filter((c) => phrase.includes(c) && !term.includes(c)));
  if (others.size > 1) return null;
  // "三心二意。" is a word, not 三心：二意.
  if (countOf(term + gloss) > 0) return null;
  const tail = [...term].slice(-2).join('');
  const runsIn = Math.max(...[1, 2].flatMap((n) => [1, 2].map((m) =>
    countOf([...tail].slice(-n).join('') + [...gloss].slice(0, m).join('')))));
  const opening = Math.max(...[2, 3, 4].map((m) => countOf([...gloss].slice(0, m).join(''))));
  return runsIn > opening ? null : { term, gloss };
}

export function findGlosses(sense, phrase, lexicon) {
  if (!phrase || !lexicon) return [];
  const starts = sentenceStarts(sense);
  const countOf = (w) => ([...w].length >= 2 ? lexicon.get(w)?.count ?? 0 : 0);
  const glosses = [];
  for (let i = 0; i < starts.length - 1; ++i) {
    const text = sense.slice(starts[i]);
    const sentence = sense.slice(starts[i], starts[i + 1]);
    if (glosses.length === 0 && i === 0 && POINTER_SENTENCE.test(sentence)) continue;
    // A term with its colon already ("泰：…") keeps the run going.
    if (/^[^。；：“”]{1,5}：/u.test(sentence)) continue;
    const gloss = glossAt(text, phrase, countOf);
    if (!gloss) break;
    glosses.push({ ...gloss, index: starts[i] });
  }
  return glosses;
}

function restoreGlossColons(sense, phrase, lexicon) {
  let text = sense;
  for (const { term, index } of findGlosses(sense, phrase, lexicon).reverse()) {
    text = `${text.slice(0, index + term.length)}：${text.slice(index + term.length)}`;
  }
  return text;
}

// ---- quotes ----

const QUOTE_PAIRS = new Map([['“', '”'], ['‘', '’']]);

// A closing quote with none open is dropped, unless a short quoted term opens
// the sense ("中华人民共和国”的简称"); an opening quote left open is closed
// at the end of the sense, before its final stop when it quotes a term.
function balanceQuotes(sense) {
  let text = sense;
  if (/^[\u3400-\u9fff]{2,12}”的/u.test(text)) text = `“${text}`;
  const open = [];
  let out = '';
  for (const ch of text) {
    if (QUOTE_PAIRS.has(ch)) {
      open.push(ch);
      out += ch;
    } else if (ch === '”' || ch === '’') {
      if (open.length > 0 && QUOTE_PAIRS.get(open.at(-1)) === ch) {
        open.pop();
        out += ch;
      } else if (ch === '”' && open.length > 1 && open.at(-2) === '“') {
        // A lost ’ inside a quotation: close both.
        open.splice(-2);
        out += '’”';
      }
    } else {
      out += ch;
    }
  }
  while (open.length > 0) {
    const close = QUOTE_PAIRS.get(open.pop());
    const stop = out.match(/[。！？]$/u);
    const quoted = out.slice(out.lastIndexOf(close === '”' ? '“' : '‘') + 1);
    out = stop && !/[。！？，；]/u.test(quoted.slice(0, -1)) ? `${out.slice(0, -1)}${close}${stop[0]}` : `${out}${close}`;
  }
  return out;
}

// lexicon (word -> { count }) lets the gloss colons come back.
export function cleanSense(sense, phrase = '', lexicon = null) {
  let text = replaceMappedPunctuation(sense);
  text = fullWidthPunctuation(text);
  text = normalizeTitles(text);
  text = replaceOriginMarks(text);
  text = restoreOpeningQuotes(text, phrase);
  text = balanceQuotes(text);
  // A usage note in brackets names the phrase with "～": "（～的）".
  if (phrase) text = text.replace(/（[^（）～]*～[^（）]*）/gu, (note) => note.replaceAll('～', phrase));
  text = restoreGlossColons(text, phrase, lexicon);
  return text;
}

// ---- examples ----

// Marks of the examples in the source: "～" stands for the phrase, "ㄧ" (and
// now and then "丨" or "｜") separates two examples.
const EXAMPLE_SEPARATOR = /\s*[ㄧ丨｜]\s*/u;

function outsideBrackets(text, index) {
  return closedAt(text, index, '（', '）') && closedAt(text, index, '“', '”') && closedAt(text, index, '‘', '’');
}

// The index of the first marker outside brackets and quotations, or -1.
function firstMarker(text, marker) {
  for (let i = text.indexOf(marker); i >= 0; i = text.indexOf(marker, i + 1)) {
    // "4～5厘米" is a range.
    if (marker === '～' && /\d/u.test(text[i - 1] ?? '') && /\d/u.test(text[i + 1] ?? '')) continue;
    if (outsideBrackets(text, i)) return i;
  }
  return -1;
}

function sentencesOf(sense) {
  return sense.match(/[^。]*(?:。[”’]*|$)/gu).filter((s) => s.length > 0);
}

// A cleaned sense as its definition text, its examples (the phrase written
// out, "～" replaced: pieces as shown, first and later for the example
// sentence) and any note after them, in order; null when the sense holds no
// example that can be told apart. An
// example must end its sense: what follows may only be further examples or a
// note ("也说…"), which keeps a "～" that stands for a lost character
// ("吃～信感激地…。后来…") out.
function separateExamples(sense, phrase, model) {
  if (!phrase || !model) return null;
  const tilde = firstMarker(sense, '～') >= 0;
  if (!tilde && !EXAMPLE_SEPARATOR.test(sense)) return null;
  const marker = tilde ? '～' : phrase;
  const parts = [];
  let seenExample = false;
  for (const sentence of sentencesOf(sense)) {
    const stop = sentence.match(/。[”’]*$/u)?.[0] ?? '';
    const body = sentence.slice(0, sentence.length - stop.length);
    const first = body.split(EXAMPLE_SEPARATOR)[0];
    const at = firstMarker(first, marker);
    // A later piece without the marker is an example all the same ("蹦蹦跳跳地跑进来").
    const later = body.split(EXAMPLE_SEPARATOR).slice(1).map((e) => e.trim()).filter((e) => e.length > 0);
    if (at < 0 && later.some((e) => firstMarker(e, marker) >= 0) && !tilde) {
      // Only the examples after the first "｜" can be told apart.
      seenExample = true;
      parts.push({ kind: 'definition', text: first.trim() });
      parts.push({ kind: 'examples', pieces: later, first: '', later });
      continue;
    }
    if (at < 0) {
      if (seenExample && !NOTE.test(body)) return null;
      parts.push({ kind: seenExample ? 'note' : 'definition', text: sentence });
      continue;
    }
    seenExample = true;
    const head = [...first.slice(0, at)].length;
    const withTilde = `${first.slice(0, at)}～${first.slice(at + marker.length)}`;
    const laterHeads = later.filter((e) => firstMarker(e, marker) >= 0).map((e) => [...e.slice(0, firstMarker(e, marker))].length);
    const { start, sure } = model.exampleStart(withTilde, head, phrase, { laterHeads, marked: tilde });
    // A written-out first example of an idiom whose start is a guess stays
    // with the definition (they are whole sentences, often classical ones);
    // "～" examples and a word's collocations are split where the models put
    // them.
    let split = start !== null && (sure || tilde || [...phrase].length < 4) ? start : [...first].length;
    // One character is no definition but the example's head ("很有～").
    if (hanCount([...first].slice(0, split).join('')) === 1) split = [...first].length;
    const definition = [...first].slice(0, split).join('');
    const firstExample = [...first].slice(split).join('').replaceAll('～', phrase).trim();
    const examples = [firstExample, ...later.map((e) => e.replaceAll('～', phrase))].filter((e) => e.length > 0);
    // For the example sentence: where its start is a guess, the models' best
    // guess all the same (a wrong one costs the entry nothing), else from the phrase on.
    const fromPhrase = sure ? firstExample : [...first].slice(start ?? head).join('').replaceAll('～', phrase).trim();
    if (examples.length === 0) {
      // Left whole, the sense still gives the example sentence from the phrase on.
      parts.push({ kind: 'definition', text: sentence }, { kind: 'examples', pieces: [], first: fromPhrase, later: [] });
      continue;
    }
    if (definition) parts.push({ kind: 'definition', text: definition.replace(/[，、；\s]+$/u, '') });
    parts.push({ kind: 'examples', pieces: examples, first: fromPhrase, later: later.map((e) => e.replaceAll('～', phrase)) });
  }
  if (!seenExample) return null;
  const laidOut = parts.map((p) => (p.text ? { ...p, text: tilde ? p.text.replaceAll('～', phrase) : p.text } : p));
  // Whatever the split, no character of the sense may be lost on the way.
  const kept = laidOut.map((p) => p.text ?? p.pieces.join('')).join('');
  const whole = (tilde ? sense.replaceAll('～', phrase) : sense).replace(new RegExp(EXAMPLE_SEPARATOR, 'gu'), '');
  return hanCharacters(kept).join('') === hanCharacters(whole).join('') ? laidOut : null;
}

function endWithStop(text) {
  return /[。！？…”’）]$/u.test(text) ? text : `${text}。`;
}

// The sense with its examples on a line of their own: "爱惜并保护。" then
// "爱护公物｜爱护年轻一代。".
function layOutExamples(parts) {
  const lines = [];
  let line = '';
  for (const part of parts) {
    if (part.kind === 'examples') {
      if (part.pieces.length === 0) continue;
      if (line) lines.push(endWithStop(line));
      lines.push(endWithStop(part.pieces.join('｜')));
      line = '';
    } else if (part.kind === 'note') {
      // After a sense left whole its definition is still waiting here.
      if (line) lines.push(endWithStop(line));
      line = '';
      lines.push(part.text);
    } else {
      line += line && !/[。；！？”]$/u.test(line) ? `。${part.text}` : part.text;
    }
  }
  if (line) lines.push(line);
  return lines;
}

// One raw sense cleaned, and its parts where its examples can be told apart
// (null where they cannot). options: { lexicon, examples } — the lexicon
// brings the gloss colons back, the example model (learnExampleBoundaries)
// tells the run-in examples apart.
function cleanedSense(rawSense, phrase, options) {
  const cleaned = cleanSense(rawSense, phrase, options.lexicon);
  return { cleaned, parts: separateExamples(cleaned, phrase, options.examples) };
}

// One raw sense, cleaned, without its run-in examples: what a one-line word
// entry shows ("爱惜并保护～公物ㄧ～年轻一代" is 爱惜并保护).
export function senseDefinition(rawSense, phrase, options = {}) {
  const { cleaned, parts } = cleanedSense(rawSense, phrase, options);
  if (!parts) return cleaned;
  const definition = layOutExamples(parts.filter((p) => p.kind === 'definition')).join('');
  return definition ? endWithStop(definition) : '';
}

// The cleaned explanation of idiom, senses joined with CR LF (the entry's
// own line end), run-in examples on lines of their own.
export function cleanExplanation(raw, idiom = '', options = {}) {
  const lines = [];
  for (const sense of splitSenses(raw)) {
    const { cleaned, parts } = cleanedSense(sense, idiom, options);
    lines.push(...(parts ? layOutExamples(parts) : [cleaned]));
  }
  return lines.join('\r\n');
}

// ---- cross-references ----

const REFERENCE_KEYWORDS = '见|同|参见|参看|亦作|也作|又作|犹|犹言|即|通';
const CROSS_REFERENCE = new RegExp(
  `^(${REFERENCE_KEYWORDS})“([^“”]+)”(?:[。，；]?(?:亦作|也作|又作)?“[^“”]+”)*[。]?$`, 'u');

// "犹言平安无事。": a pointer to another idiom of the list, without quotes.
const UNQUOTED_REFERENCE = /^(犹言|犹|见|同|即|亦作|也作)([^“”，。；、\s]{3,12})。?$/u;

// The keyword and target of a sense that only points elsewhere, or null.
function referenceOf(sense, knownIdioms) {
  const quoted = sense.match(CROSS_REFERENCE);
  if (quoted) return { keyword: quoted[1], target: quoted[2] };
  const unquoted = sense.match(UNQUOTED_REFERENCE);
  if (unquoted && knownIdioms.has(unquoted[2])) return { keyword: unquoted[1], target: unquoted[2] };
  return null;
}

// The first reference when every sense of the cleaned explanation only
// points to another entry, or null.
export function crossReference(cleaned, knownIdioms = new Set()) {
  const senses = cleaned.split('\r\n').filter((s) => s.length > 0);
  const references = senses.map((s) => referenceOf(s, knownIdioms));
  return senses.length > 0 && references.every(Boolean) ? references[0] : null;
}

export function isCrossReferenceOnly(cleaned, knownIdioms = new Set()) {
  return crossReference(cleaned, knownIdioms) !== null;
}

// How a followed reference opens the explanation: "犹言" keeps its "roughly
// the same", every other keyword says the two are one.
export function referencePreface({ keyword, target }) {
  return `${keyword === '犹' || keyword === '犹言' ? '犹言' : '同'}“${target}”。`;
}

// How far a chain of pointers ("见“甲”", 甲 "同“乙”") is followed.
const MAX_REFERENCE_HOPS = 3;

// The explanation a word can show, from explanationOf (word -> raw text or
// undefined): { reason: '', text } when its own can be used; { reason: '',
// text, target, reference } when it only points to another entry whose
// explanation can; else { reason } (classifyExplanation's, or
// 'self-reference' for a pointer back to the word itself), with the pointer
// as reference where it names another word.
export function resolveExplanation(word, explanationOf, knownIdioms = new Set()) {
  const own = classifyExplanation(explanationOf(word), knownIdioms);
  if (own.reason !== 'cross-reference') return own;
  const first = own.reference;
  const failed = (reason) => (first.target === word ? { reason } : { reason, reference: first });
  const visited = new Set([word]);
  let reference = first;
  for (let hop = 0; hop < MAX_REFERENCE_HOPS; ++hop) {
    if (visited.has(reference.target)) return failed('self-reference');
    visited.add(reference.target);
    const target = classifyExplanation(explanationOf(reference.target), knownIdioms);
    if (target.reason === '') {
      return { reason: '', text: target.text, target: reference.target, reference: { ...first, target: reference.target } };
    }
    if (target.reason !== 'cross-reference') break;
    reference = target.reference;
  }
  return failed('cross-reference');
}

// A resolved explanation as DianGu shows it: a followed pointer as 同“X”。
// and X's explanation, on one line when X's is one line.
export function resolvedExplanationText(resolved, word, options = {}) {
  return prefacedExplanation(resolved, cleanExplanation(resolved.text, resolved.target || word, options));
}

// The same from the resolved text already cleaned for its own phrase.
export function prefacedExplanation(resolved, cleaned) {
  if (!resolved.target) return cleaned;
  const lines = cleaned.split('\r\n');
  const preface = referencePreface(resolved.reference);
  return (lines.length === 1 ? [preface + lines[0]] : [preface, ...lines]).join('\r\n');
}

// "合乎情理。" is a definition; two characters are not.
const MIN_EXPLANATION_CHARACTERS = 3;

// What can be made of raw: { reason, text }, reason '' when the explanation
// can be used as it stands, 'cross-reference' (with the pointer as reference)
// when it only points to another entry, or why it cannot be used; text is raw
// without a damaged sentence.
// A summary counts each idiom under its first reason.
export function classifyExplanation(raw, knownIdioms = new Set()) {
  if (raw === undefined || raw === null || raw.trim() === '') return { reason: 'no-explanation', text: '' };
  const text = dropDamagedSentence(raw);
  if (text === null) return { reason: 'mojibake', text: '' };
  const cleaned = cleanExplanation(text);
  const reference = crossReference(cleaned, knownIdioms);
  if (reference) return { reason: 'cross-reference', text, reference };
  if (hanCount(cleaned) < MIN_EXPLANATION_CHARACTERS) return { reason: 'short-explanation', text };
  return { reason: '', text };
}

export function rejectionReason(raw, knownIdioms = new Set()) {
  return classifyExplanation(raw, knownIdioms).reason;
}

// ---- sources ----

const NUMERAL = '[一二三四五六七八九十百千〇零○两]';
// Up to six characters of dynasty and author may stand before a title
// ("汉刘向《新序·杂事二》"), at a clause's start or after a source marker.
const MARKERS = '(?:语出|语本|典出|出自|见|据)';
const AUTHOR_NAME = '[\\u3400-\\u9fff]{1,6}';
const AUTHOR = `(?:(?<=^|[。；，：”’）\\s]|${MARKERS})${AUTHOR_NAME})?`;
// A volume or chapter, or the kind of piece, may stand between the title and
// the quotation ("《可叹》诗“…”", "《离思》诗之四“…”").
const CHAPTER = `(?:卷${NUMERAL}+|第${NUMERAL}+[回章篇折卷节出])?(?:[诗词赋](?:之${NUMERAL}+)?)?`;

// What follows a title that is cited rather than merely named: a quotation,
// or 载 / 记 / 云 / 曰 ("《韩非子·外储说左上》载…"), perhaps after a volume.
const CITATION_FOLLOWS = `${CHAPTER}[：:]?[“‘载记云曰]`;
const CITATION = new RegExp(`(${AUTHOR})《([^《》]+)》(${CHAPTER})[：:]?“([^“”]*)”`, 'gu');

function citationText(author, title, chapter, quotation) {
  // "又《秦策三》": 又 is no author.
  const writer = author.replace(new RegExp(`^(?:${MARKERS}|又|亦)`, 'u'), '');
  return `${writer}《${title}》${chapter}${quotation === undefined ? '' : `：“${quotation}”`}`;
}

function sharedCharacters(a, b) {
  return new Set(hanCharacters(a).filter((c) => b.includes(c))).size;
}

// The idiom's origin: the cited work (with its author and quotation where
// they stand with it) when the explanation opens with a cited 《…》, names
// one after 语出 / 语本 / 典出 / 出自 / 见 / 据, or else quotes one in words
// that share at least two characters with the idiom (or the form it points
// to).
export function extractSource(cleaned, idiom = '', alsoKnownAs = '') {
  const first = cleaned.split('\r\n')[0] ?? '';
  const quotedAfter = (index) => {
    const rest = cleaned.slice(index);
    const quote = rest.match(new RegExp(`^${CHAPTER}[：:]?“([^“”]*)”`, 'u'));
    return quote ? quote[1] : undefined;
  };
  const opening = first.match(new RegExp(`^${AUTHOR}《([^《》]+)》(?=${CITATION_FOLLOWS})`, 'u'));
  if (opening) return citationText(opening[0].slice(0, opening[0].indexOf('《')), opening[1], '', quotedAfter(opening[0].length));
  const marked = cleaned.match(new RegExp(`${MARKERS}(${AUTHOR_NAME})?《([^《》]+)》`, 'u'));
  if (marked) return citationText(marked[1] ?? '', marked[2], '', quotedAfter(marked.index + marked[0].length));
  for (const [, author, title, chapter, quotation] of cleaned.matchAll(CITATION)) {
    if (sharedCharacters(quotation, idiom) >= 2 || (alsoKnownAs && sharedCharacters(quotation, alsoKnownAs) >= 2)) {
      return citationText(author, title, chapter, quotation);
    }
  }
  return '';
}

// The sentences of text, each with its stop (one of stops) and the closing
// quotes after it; a stop inside quotation marks, brackets or a title ends none.
export function sentencesOutsideMarks(text, stops = '。！？') {
  const sentences = [];
  let from = 0;
  // Where the source lost a mark ("“蓝点“马鲛”"), every stop ends a sentence.
  const balanced = MARK_PAIRS.every(([open, close]) => marksPair(text, open, close));
  for (let i = 0; i < text.length; ++i) {
    if (!stops.includes(text[i]) || (balanced && !outsideMarks(text, i))) continue;
    let to = i + 1;
    while (/[”’」]/u.test(text[to] ?? '')) ++to;
    sentences.push(text.slice(from, to));
    from = to;
    i = to - 1;
  }
  if (from < text.length) sentences.push(text.slice(from));
  return sentences.filter((s) => s.trim());
}

// A sense that opens with the work it cites ("语出《诗·小雅·伐木》“出自幽谷，
// 迁于乔木。”…", "《说苑·敬慎》载…", "《西游记》中…") says what the word means
// after it: from the first later sentence that opens as a definition ("后用以
// 比喻…", "形容…"). Where none does, a sense that opens with the quotation
// itself is '' (no meaning), one that tells the story is null (left as it
// is), as is a sense that only names a work ("指《离骚》所体现的情调").
const WORK = '《[^《》]+》';
const QUOTED_OPENING = new RegExp(`^(?:${MARKERS}${AUTHOR}${WORK}|${AUTHOR}${WORK}${CHAPTER}[：:]?[“‘](?!篇名))`, 'u');
const TOLD_OPENING = new RegExp(`^${AUTHOR}${WORK}${CHAPTER}(?:[载记云曰引注序]|[中里](?!的))`, 'u');
const NAMING_WORD = /^(?:指|即|特指|泛指|专指|借指|喻指|谓|又称|也称|亦称)/u;
const MEANING_OPENING = /^(?:后(?:以|用|多|因|来|遂|世|亦|也|泛|常|即|谓|称|指|喻|借|比喻|形容)|借喻|本谓|本指|原谓|比喻|形容|指|谓|意谓|意思是|意为|原指|泛指|喻指|借指|今指|现指|多指|用以|用来|喻)/u;

// Whether text opens as a meaning after a citation does ("后以…比喻…").
export function opensAsMeaning(text) {
  return MEANING_OPENING.test(text);
}

export function meaningAfterCitation(text) {
  const quoted = QUOTED_OPENING.test(text);
  if ((!quoted && !TOLD_OPENING.test(text)) || NAMING_WORD.test(text)) return null;
  // The meaning opens after a quotation, a stop or a comma, outside any marks
  // ("…用之也。”本谓…，后因称…"), and is no stub an example was cut off
  // ("后用。" of "后用矛盾”比喻…").
  // The later sense ("后…") before the first one ("本指一种天象。后用来比喻…").
  const starts = [];
  for (let at = 1; at < text.length; ++at) {
    if (!/[”’。，；]/u.test(text[at - 1]) || !outsideMarks(text, at)) continue;
    const meaning = text.slice(at);
    if (MEANING_OPENING.test(meaning) && hanCount(sentencesOutsideMarks(meaning)[0] ?? '') >= 4) starts.push(meaning);
  }
  const meaning = starts.find((m) => m.startsWith('后')) ?? starts[0];
  if (meaning) return meaning;
  if (!quoted) return null;
  // Else what follows the quotation and any notes on it ("杜预注“…”"), as it
  // tells the story or the meaning ("…极言行人之多。").
  let at = 0;
  do {
    at = afterQuotation(text, at);
  } while (at > 0 && QUOTING_NOTE.test(text.slice(at)));
  // Only a quotation that ends its sentence: "“桃之夭夭”句，…" goes on with it.
  const rest = at > 0 && /[。！？]/u.test(text[at - 2]) ? text.slice(at).replace(/^[，。；\s]+/u, '') : '';
  // A story whose meaning was cut off after it ("那人无言可答。后用。") tells none.
  const [first, ...later] = sentencesOutsideMarks(rest);
  return hanCount(first ?? '') >= 4 && !later.some((s) => MEANING_OPENING.test(s.trim())) ? rest : '';
}

// A note on a quotation, or a further citation, that quotes in turn.
const QUOTING_NOTE = /^[，。；\s]*(?:[\u3400-\u9fff]{0,8}[注疏笺释传云曰引][：:]?[“‘]|(?:及|又)[^。“]*[“‘《]|[\u3400-\u9fff]{0,8}《)/u;

// Where the first quotation at or after from ends, past its closing mark, or -1.
function afterQuotation(text, from) {
  const open = text.slice(from).search(/[“‘]/u);
  if (open < 0) return -1;
  for (let at = from + open + 1; at <= text.length; ++at) {
    if (/[”’]/u.test(text[at - 1]) && outsideMarks(text, at)) return at;
  }
  return -1;
}

// ---- examples of use ----

// One example sentence: an example the explanation gives with "～" or
// between "｜" (those after the first first, as nothing of the definition
// can have run into them; the first from the idiom on where its start is a
// guess), or else a quotation that uses the idiom word for word,
// author《work》：“… idiom …”, from a later work than the first one cited
// (which is the origin). Examples that are the idiom and a particle or two
// do not count.
export function extractExample(raw, idiom, options = {}) {
  const candidates = [];
  for (const sense of splitSenses(raw)) {
    const parts = cleanedSense(sense, idiom, options).parts ?? [];
    for (const part of parts.filter((p) => p.kind === 'examples')) candidates.push(...part.later, part.first);
  }
  const usable = candidates.find((e) => e.includes(idiom) && hanCount(e) - hanCount(idiom) >= 3);
  if (usable) return endWithStop(usable);
  let firstWork = null;
  for (const [, author, work, chapter, quotation] of cleanExplanation(raw, idiom).matchAll(CITATION)) {
    if (firstWork === null) {
      firstWork = work;
      continue;
    }
    if (work !== firstWork && quotation.includes(idiom)) return citationText(author, work, chapter, quotation);
  }
  return '';
}
