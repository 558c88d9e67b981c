// Chinese glosses of single characters, gathered from the idioms'
// explanations, which gloss their characters before explaining the whole
// ("泰平安，安定。" under 国泰民安 is 泰：平安，安定). Pure functions, so
// extract-characters.mjs and its tests share them.

import {
  cleanSense, dropDamagedSentence, findGlosses, hasMojibake, splitSenses,
} from '../common/explanation-text.mjs';

// Only idioms gloss their characters: a shorter word's explanation mostly
// opens with one of its characters ("卧于室内" under 卧室 is no gloss of 卧).
export const MIN_GLOSSED_PHRASE = 4;
// Notes on sound or form, not meanings.
const FORM_NOTE = /^(?:音|读|也作|亦作|又作|同“|通“)/u;
const SHOWN_GLOSSES = 3;
const SHOWN_PHRASES = 2;

// Numbers open paraphrases wherever they stand ("一千年才有…" under 千载一合).
const NUMERAL = /^[一二三四五六七八九十百千万两]$/u;

// Whether gloss reads as the phrase paraphrased rather than as a meaning
// of the character: it names another character of the phrase when the
// character opens the phrase or is a number ("一人抵过百人" under 一以当百;
// "仁爱" under 仁民爱物 is lost with them), or one of its later clauses opens
// with one (the next gloss without its colon: "熟牛皮，弦弓弦" under 佩韦佩弦,
// but not "平安，安定" under 国泰民安).
function readsAsParaphrase(character, gloss, phrase) {
  const others = [...phrase].filter((c) => c !== character && /\p{Script=Han}/u.test(c));
  const opens = phrase.startsWith(character) || NUMERAL.test(character);
  if (opens && others.some((c) => gloss.includes(c))) return true;
  const [first, ...clauses] = gloss.split(/[，、]/u);
  return clauses.some((clause) => others.includes([...clause][0]) && !first.includes([...clause][0]));
}

// The single characters the explanation of phrase glosses:
// [{ character, gloss }], gloss without its closing punctuation.
export function phraseGlosses(phrase, raw, lexicon) {
  if ([...phrase].length < MIN_GLOSSED_PHRASE || typeof raw !== 'string') return [];
  const intact = dropDamagedSentence(raw);
  if (intact === null) return [];
  const glosses = [];
  for (const sense of splitSenses(intact)) {
    for (const { term, gloss } of findGlosses(cleanSense(sense, phrase), phrase, lexicon)) {
      const text = gloss.replace(/[，、：\s]+$/u, '');
      if ([...term].length !== 1 || !text || FORM_NOTE.test(text) || hasMojibake(text)) continue;
      if (readsAsParaphrase(term, text, phrase)) continue;
      glosses.push({ character: term, gloss: text });
    }
  }
  return glosses;
}

function byCodePoint(a, b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

// A gloss whose every clause another one holds ("平安" beside "平安，安定")
// gives its phrases to that one (of several, the most attested).
function foldContained(glosses) {
  const clauses = (gloss) => gloss.split(/[，、]/u);
  const folded = new Map([...glosses].map(([gloss, phrases]) => [gloss, [...phrases]]));
  const shortestFirst = [...glosses.keys()].sort((a, b) => clauses(a).length - clauses(b).length || byCodePoint(a, b));
  for (const gloss of shortestFirst) {
    const holders = [...folded.keys()].filter((other) => clauses(other).length > clauses(gloss).length
      && clauses(gloss).every((c) => clauses(other).includes(c)));
    if (!holders.length) continue;
    holders.sort((a, b) => folded.get(b).length - folded.get(a).length || byCodePoint(a, b));
    const phrases = folded.get(holders[0]);
    for (const phrase of folded.get(gloss)) if (!phrases.includes(phrase)) phrases.push(phrase);
    folded.delete(gloss);
  }
  return folded;
}

// entries: [phrase, raw explanation] (a phrase counts once); usable(text)
// says whether a gloss and its phrase may be shown; countOf(phrase) ranks
// the phrases.
// Returns character -> [{ gloss, phrases }], the gloss with the most phrases
// first, then the one of the commoner phrase; phrases commonest first.
export function harvestGlosses(entries, lexicon, { usable = () => true, countOf = () => 0 } = {}) {
  const byCharacter = new Map();
  const seen = new Set();
  for (const [phrase, raw] of entries) {
    if (seen.has(phrase)) continue;
    seen.add(phrase);
    for (const { character, gloss } of phraseGlosses(phrase, raw, lexicon)) {
      if (!usable(gloss) || !usable(phrase)) continue;
      if (!byCharacter.has(character)) byCharacter.set(character, new Map());
      const glosses = byCharacter.get(character);
      if (!glosses.has(gloss)) glosses.set(gloss, []);
      if (!glosses.get(gloss).includes(phrase)) glosses.get(gloss).push(phrase);
    }
  }
  const byUse = (a, b) => countOf(b) - countOf(a) || byCodePoint(a, b);
  const ranked = new Map();
  for (const [character, glosses] of byCharacter) {
    const list = [...foldContained(glosses)].map(([gloss, phrases]) => ({ gloss, phrases: phrases.sort(byUse) }));
    list.sort((a, b) => b.phrases.length - a.phrases.length || byUse(a.phrases[0], b.phrases[0])
      || byCodePoint(a.gloss, b.gloss));
    ranked.set(character, list);
  }
  return ranked;
}

// The detailed entry's line: "字义：泰：平安，安定（国泰民安）；…", the
// first few glosses with the phrases they come from.
export function glossLine(character, glosses) {
  const shown = glosses.slice(0, SHOWN_GLOSSES)
    .map(({ gloss, phrases }) => `${character}：${gloss}（${phrases.slice(0, SHOWN_PHRASES).join('、')}）`);
  return shown.length ? `字义：${shown.join('；')}` : '';
}

// What the brief explanation adds after the English, so that a Chinese
// keyword finds the character: "字义：平安，安定；…".
export function briefGlosses(glosses) {
  const shown = glosses.slice(0, SHOWN_GLOSSES).map(({ gloss }) => gloss);
  return shown.length ? `字义：${shown.join('；')}` : '';
}
