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

// Adverbs and conjunctions that carry a narration on, not a meaning ("天
// 虽高，却不得不弯着腰" under 踡天蹐地); interrogatives that retell the
// phrase as a question and its answer ("种什么，收什么").
const NARRATING_OPENING = /^(?:虽|却|但|便|则|乃|就|才|都|还|也|又|竟|仍)/u;
const INTERROGATIVE = /什么|怎么|怎样|哪/u;
// Words a clause may end with in 了 and still gloss ("为了", "罢了").
const CLAUSE_WITH_LE = /(?:为|除|罢|极|算|好|了|末)了$/u;

// Whether gloss reads as the phrase retold from the character on, which
// the idioms' own rules let through: the character and the gloss's opening
// make a longer word ("大规模地进行战争" under 大动干戈, "得不到…" under
// 不得人心); the gloss opens with a narrating adverb or holds a question
// word beside other words; a clause of it tells what happened ("人死了，
// 东西还在" under 物在人亡); it says what the thing is like or does
// ("墙高大而地基陡直" under 丰墙峭阯, "口不敢言" under 箝口侧目); or its
// first clause is one character that
// goes on the term, a variant spelling of it, before a definition of the
// two ("大辂，古代华美的大车" under 大路椎轮).
function retoldFromCharacter(character, gloss, lexicon) {
  const countOf = (w) => lexicon?.get(w)?.count ?? 0;
  const tagOf = (w) => lexicon?.get(w)?.tag ?? '';
  const characters = [...gloss];
  // "墙高大而地基陡直", "口不敢言": what the thing is or does, said of it.
  const opening = [2, 1].map((n) => characters.slice(0, n).join('')).find((w) => tagOf(w));
  if (tagOf(character).startsWith('n') && /而/u.test(gloss) && tagOf(opening ?? '') === 'a') return true;
  if (/^[不没未]/u.test(gloss) && characters.length > 2) return true;
  for (const length of [2, 3]) {
    if (characters.length > length && countOf(character + characters.slice(0, length).join('')) > 0) return true;
  }
  if (NARRATING_OPENING.test(gloss) && characters.length > 1) return true;
  if (INTERROGATIVE.test(gloss) && !/^(?:什么|怎么|怎样|哪里|哪儿)$/u.test(gloss)) return true;
  const clauses = gloss.split(/[，、；]/u);
  if (clauses.some((clause) => clause.endsWith('了') && !CLAUSE_WITH_LE.test(clause))) return true;
  return clauses.length > 1 && [...clauses[0]].length === 1 && [...clauses[1]].length >= 4;
}

// The single characters the explanation of phrase glosses:
// [{ character, gloss }], gloss without its closing punctuation. Glosses
// come in the order of their characters in the phrase; one that goes back
// ("天虽高…" after 踡 and 蹐 under 踡天蹐地) opens the paraphrase.
export function phraseGlosses(phrase, raw, lexicon) {
  if ([...phrase].length < MIN_GLOSSED_PHRASE || typeof raw !== 'string') return [];
  const intact = dropDamagedSentence(raw);
  if (intact === null) return [];
  const glosses = [];
  for (const sense of splitSenses(intact)) {
    let position = -1;
    for (const { term, gloss } of findGlosses(cleanSense(sense, phrase), phrase, lexicon)) {
      const at = phrase.indexOf(term);
      if (at < position) break;
      position = at;
      const text = gloss.replace(/[，、：\s]+$/u, '');
      if ([...term].length !== 1 || !text || FORM_NOTE.test(text) || hasMojibake(text)) continue;
      if (readsAsParaphrase(term, text, phrase) || retoldFromCharacter(term, text, lexicon)) continue;
      glosses.push({ character: term, gloss: text, position: [...phrase.slice(0, at)].length });
    }
  }
  return glosses;
}

// "通姑" or "同殁": the character stands for another one.
const STANDS_FOR = /^(?:通|同)“?(\p{Script=Han})(?:”|$|[，。；])/u;

// Whether a gloss belongs to a reading the entry lists. sources:
// listedReadings(ch), the tone-marked readings an entry lists;
// phraseReadings(phrase), the tone-marked syllable of each character of
// the phrase where a dictionary reads it, else null; betterSpelled(phrase,
// position), whether the phrase is better attested with another form of
// the character there. A gloss of 著 zhù is no gloss of 着: 着书立说 is
// 著书立说 better spelled, and CC-CEDICT reads it zhù; 家 does not read
// gū, so "通姑" under 阿家阿翁 is not one of its senses.
export function glossOfListedReading({ character, gloss, phrase, position }, sources) {
  const listed = sources.listedReadings(character);
  const reading = sources.phraseReadings(phrase)?.[position];
  if (reading && !listed.includes(reading)) return false;
  if (sources.betterSpelled(phrase, position)) return false;
  const standsFor = STANDS_FOR.exec(gloss)?.[1];
  return !standsFor || sources.listedReadings(standsFor).some((r) => listed.includes(r));
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
// the phrases; belongs(gloss) says whether a gloss found belongs to the
// character's entry (glossOfListedReading).
// Returns character -> [{ gloss, phrases }], the gloss with the most phrases
// first, then the one of the commoner phrase; phrases commonest first.
export function harvestGlosses(entries, lexicon, {
  usable = () => true, countOf = () => 0, belongs = () => true,
} = {}) {
  const byCharacter = new Map();
  const seen = new Set();
  for (const [phrase, raw] of entries) {
    if (seen.has(phrase)) continue;
    seen.add(phrase);
    for (const found of phraseGlosses(phrase, raw, lexicon)) {
      const { character, gloss } = found;
      if (!usable(gloss) || !usable(phrase) || !belongs({ ...found, phrase })) continue;
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
