// The text rules of a character entry: which senses, words and variant forms
// it shows. Pure functions, so extract-characters.mjs and its tests share them.

import { MIN_GLOSSED_PHRASE } from './character-glosses.mjs';
import { cedictGloss, markPinyin, markSyllable, readableSense } from '../common/cc-cedict.mjs';
import {
  cleanSense, closedAt, hanCount, meaningAfterCitation, opensAsMeaning, outsideMarks, senseDefinition, sentencesOutsideMarks,
  splitSenses,
} from '../common/explanation-text.mjs';
import { DEFINITION_GOES_ON_BEFORE_WORD, headedExampleStart, quotedExampleStart } from '../common/example-boundary.mjs';

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

// ---- what an explanation says of its reading ----

const plainPinyin = (text) => text.normalize('NFKC').replace(/[\s·'’]/gu, '').replace(/ɑ/gu, 'a').toLowerCase();
const escapeRegExp = (text) => text.replace(/[.*+?^${}()|[\]\\]/gu, '\\$&');

// cnchar-data runs homographs into one text, each after the word and its
// number ("就是1①… 就是2 [jiùshì]①…"). The parts without their labels,
// each with the reading its label gives ('' where it gives none).
export function homographs(word, raw) {
  const label = new RegExp(`(?<=^|[\\s。])${escapeRegExp(word)}[1-9](?:\\s*\\[([^\\]]*)\\])?`, 'gu');
  const parts = [];
  let reading = '';
  let from = 0;
  for (const match of raw.matchAll(label)) {
    parts.push({ reading, text: raw.slice(from, match.index) });
    reading = match[1] ?? '';
    from = match.index + match[0].length;
  }
  parts.push({ reading, text: raw.slice(from) });
  return parts.filter((part) => part.text.trim());
}

const TONED_LETTERS = 'a-zａ-ｚāáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜü';
// "（ｙù－）", "（－ｄàｏ）", "（句ｇōｕ）": the sense is read so, the dash
// standing for the syllables left as the word has them.
const READING_NOTE = new RegExp(
  `[（(](?:([-－])([${TONED_LETTERS}]+)|([${TONED_LETTERS}]+)([-－])|(\\p{Script=Han})([${TONED_LETTERS}]+))[）)]`, 'u');

// A sense's reading note: { note, fits } where fits tells whether the
// syllable it names is the one shown; null without a note.
export function readingNote(sense, word, shownReading) {
  const match = READING_NOTE.exec(sense);
  // The source writes its notes in full-width letters; "（-oh）" is chemistry.
  if (!match || !/[ａ-ｚ]/u.test(match[0])) return null;
  const syllables = shownReading.split(/\s+/u);
  const characters = [...word];
  let at;
  let noted;
  if (match[1]) [at, noted] = [syllables.length - 1, match[2]];
  else if (match[4]) [at, noted] = [0, match[3]];
  else [at, noted] = [characters.indexOf(match[5]), match[6]];
  return { note: match[0], fits: at >= 0 && plainPinyin(syllables[at] ?? '') === plainPinyin(noted) };
}

// The reading the explanation's notes give the word where every sense has
// a note and none is the reading shown (高句丽 "（句ｇōｕ）" is gāo gōu lí),
// else shownReading.
export function notedReading(word, explanation, shownReading) {
  const syllables = shownReading.split(/\s+/u);
  if (!shownReading || syllables.length !== [...word].length) return shownReading;
  const senses = homographs(word, explanation).flatMap(({ text }) => splitSenses(text))
    .map((sense) => ({ sense, note: readingNote(sense, word, shownReading) }));
  // A sense without a note has the reading shown.
  if (senses.length === 0 || senses.some(({ note }) => !note || note.fits)) return shownReading;
  const notes = senses;
  const match = READING_NOTE.exec(notes[0].sense);
  const at = match[1] ? syllables.length - 1 : match[4] ? 0 : [...word].indexOf(match[5]);
  if (at < 0) return shownReading;
  syllables[at] = (match[2] ?? match[3] ?? match[6]).normalize('NFKC');
  return syllables.join(' ');
}

// The senses of explanation that belong to the reading shown: a homograph
// labelled with another reading goes, and where senses carry reading
// notes, those of another reading go; where one fits, the senses without a
// note are the other reading's. Counts go to tally.
function sensesOfReading(word, explanation, shownReading, tally) {
  const shown = plainPinyin(shownReading);
  const senses = [];
  for (const { reading, text } of homographs(word, explanation)) {
    if (reading && shownReading && plainPinyin(reading) !== shown) {
      count(tally, 'homographsOfAnotherReading');
      continue;
    }
    // "  5.…  6.…" on one line are two senses all the same.
    senses.push(...splitSenses(text.replace(/\s+(?=\d\.(?!\d)\S)/gu, '\n')));
  }
  if (!shownReading) return senses;
  const notes = senses.map((sense) => readingNote(sense, word, shownReading));
  const anyFits = notes.some((note) => note?.fits);
  const kept = senses.flatMap((sense, i) => {
    const note = notes[i];
    if (note ? note.fits : !anyFits) return [note ? sense.replace(note.note, '') : sense];
    count(tally, 'sensesOfAnotherReading');
    return [];
  });
  return kept;
}

// ---- senses that explain another reading ----

// Pointer words a sense may open with before the word it explains by; of
// them, those that liken the word to that one.
const EXPLAINING_BY = /^(?:犹言|犹|即|同|谓|指|亦作|也作)/u;
const LIKENING = /^(?:犹言|犹|即|同)/u;
const MAX_LOOKED_UP_WORD = 4;
function toneless(syllable) {
  return syllable.normalize('NFD').replace(/[\u0300-\u036f]/gu, '').replace(/ü/gu, 'v');
}

// Two readings differ in their letters, or in their tones where both carry one.
function differentReading(a, b) {
  if (toneless(a) !== toneless(b)) return true;
  const toned = (r) => r !== toneless(r);
  return toned(a) && toned(b) && a.normalize('NFC') !== b.normalize('NFC');
}

// The lexicon words of text, longest first from the left.
function segment(text, isWord) {
  const characters = [...text];
  const words = [];
  for (let i = 0; i < characters.length;) {
    let length = Math.min(MAX_LOOKED_UP_WORD, characters.length - i);
    while (length > 1 && !isWord(characters.slice(i, i + length).join(''))) --length;
    words.push(characters.slice(i, i + length).join(''));
    i += length;
  }
  return words;
}

// The rule by which a word's sense belongs to another reading of one of
// its characters than the one shown, or '':
// - 'word': the sense only likens the word to another one ("犹…", "同…",
//   "即…") that holds the character at the same place in another reading
//   (没有 "犹没收": 没收 is mò shōu); a plain definition opening with such a
//   word is mostly a synonym read otherwise (没奈何 "没办法"), so it counts
//   for nothing;
// - 'variant': it opens with the form CC-CEDICT says another reading of the
//   character stands for (那些 "哪里": 那 nǎ is 哪).
// sources: wordReading(w), CC-CEDICT's tone-marked syllables of a word or
// null; characterReadings(c), [{ reading, senses }] of CC-CEDICT's entries
// of the character.
export function otherReadingRule(word, sense, shownSyllables, sources) {
  const characters = [...word];
  const plain = sense.replace(/^[①②③]/u, '');
  const text = plain.replace(EXPLAINING_BY, '').replace(/^“/u, '');
  for (let length = Math.min(MAX_LOOKED_UP_WORD, [...text].length); LIKENING.test(plain) && length >= 2; --length) {
    const opening = [...text].slice(0, length).join('');
    const readings = sources.wordReading(opening);
    if (!readings || opening === word) continue;
    // The character at the same place in both (没 of 没收 and 没有), read
    // with other letters: a tone alone or a neutral tone tells too little.
    const other = characters.some((c, i) => [...opening][i] === c && shownSyllables[i]
      && toneless(readings[i] ?? '') !== toneless(shownSyllables[i]));
    if (other) return 'word';
    break;
  }
  const first = [...text][0];
  for (const [i, c] of characters.entries()) {
    const shown = shownSyllables[i];
    if (!shown) continue;
    const readings = sources.characterReadings(c);
    const others = readings.filter((r) => differentReading(r.reading, shown));
    if (others.length === 0 || others.length === readings.length) continue;
    const variant = new RegExp(`variant of (?:[^\\s|[]*\\|)?${escapeRegExp(first ?? '')}(?!\\p{Script=Han})`, 'u');
    if (/\p{Script=Han}/u.test(first ?? '') && first !== c && others.some((r) => r.senses.some((s) => variant.test(s)))) {
      return 'variant';
    }
  }
  return '';
}

// ---- classical senses ----

// Marks of a pre-modern sense where it opens with one: the 古 and 旧 words
// and the old offices, stars and courts ("古代帝王上泰山祭祀天地", "旧时女子
// 自称", "武官名"), or where it ends by saying the word is an old name
// ("泰国的旧称"); not where the sense goes on to the present ("原指古代…，
// 后指…") or only names something ancient on its way ("由古代海水…形成").
// 谓 and 犹 open modern definitions as often as old ones.
const CLASSICAL_MARK = /^(?:指|谓)?(?:古代|古时|古称|古指|古谓|旧时|旧日|旧称|旧指|旧谓|旧制|旧俗|帝王|朝廷|[文武]?官名|星名)|旧称。?$/u;
const PRESENT_MARK = /后指|后来|今指|现指|泛指|今多|现多|现在|现今|如今|今用/u;

// Whether every sense shown of a word's Chinese explanation is pre-modern.
export function isClassicalExplanation(senses) {
  return senses.length > 0
    && senses.every((sense) => CLASSICAL_MARK.test(sense.replace(/^[①②③]/u, '')) && !PRESENT_MARK.test(sense));
}

// The historical dictionary (its senses numbered "1.") lists a word's senses
// in the order they arose; where it holds more than a line shows, the line
// shows only the earliest ones, and the everyday sense comes after them (现在
// "1.存在。…4.…泛指此时、目前", 主席 "1.主持筵席。…5.主持会议的人").
export function showsOnlyEarliestSenses(raw) {
  return HISTORICAL.test(raw) && splitSenses(raw).length > MAX_WORD_SENSES;
}

// Senses that only say the word is a surname ("复姓。东汉时有第五伦。" under
// 第五): a name, not the sense the word has in everyday use.
export function onlyNamesASurname(senses) {
  return senses.length > 0 && senses.every((sense) => /^(?:复姓|姓)。/u.test(sense.replace(/^[①②③]/u, '')));
}

// "中国无产阶级革命家。山东东平人。曾任…": the life of a person who bears
// the word as a name (万里), not a sense of the word.
const LIFE = /^[^。①②③\d]{2,30}(?:家|人物|领袖|将领|学者|官员)。\p{Script=Han}{2,8}人。/u;

export function isLifeOfAPerson(raw) {
  return LIFE.test(raw.replace(/^\s*1\./u, '').trim());
}

// ---- damage and pointers ----

// What no Chinese entry holds: box drawing, kana, Cyrillic, capital Greek,
// full-width Latin letters and digits, bopomofo other than the separator
// ㄧ, private-use and replacement characters — left where the source lost
// a character ("完┍福", "作用┝Γ", "劝尪堣@").
const DAMAGE = /[@\u2500-\u257f\u3040-\u30ff\u0400-\u04ff\u0391-\u03a9\uff10-\uff19\uff21-\uff3a\uff41-\uff5a\u3105-\u3126\u3128-\u312f\ue000-\uf8ff\ufffd§｀﹎『』ⅰ-ⅻ]/u;

// A question mark inside a quoted form stands for a lost character ("亦作“？子”").
const LOST_IN_QUOTE = /“[^“”？?]{0,3}[？?][^“”]{0,3}”/u;

export function isDamaged(text) {
  return DAMAGE.test(text) || LOST_IN_QUOTE.test(text);
}

// The source's typesetting codes ("[kg4]"), page numbers of its printed
// form ("（762页）") and pointers to its own entries ("参看‘能’条d、e两项。").
function dropSourceMarks(sense) {
  return sense.replace(/\[kg\d*\]/gu, '').replace(/[（(]\d+页[）)]/gu, '')
    .replace(/参看[‘“〖][^’”〗]+[’”〗](?:条[^。]*)?。?/gu, '').trim();
}

// "见“本质与现象”。": a sense that only sends the reader elsewhere.
const ONLY_POINTER = /^(?:见|参见|参看)“[^“”]+”[。]?$/u;

const DRAWN_FROM = /^(?:引申|转指|后引申)/u;
const HISTORICAL = /^\s*1\./u;

// "就是1" left by a homograph label: only the word and its number.
function isSelfLabel(word, sense) {
  return new RegExp(`^${escapeRegExp(word)}\\d*[。]?$`, 'u').test(sense.trim());
}

// The sentences of a cleaned sense up to the first damaged one; '' where
// the first is damaged or what is left only leads into what was lost ("又称。").
function undamagedPart(sense) {
  const sentences = sense.split(/(?<=[。；])/u);
  const damaged = sentences.findIndex(isDamaged);
  if (damaged < 0) return sense;
  const kept = sentences.slice(0, damaged).join('').replace(/；$/u, '。');
  return /^(?:又称|也称|亦称|简称|俗称|又名|也叫|亦作|也作)[。，]?$/u.test(kept) || HANGING_LEAD.test(kept.replace(/。$/u, '')) ? '' : kept;
}

// ---- run-in examples ----

// How a definition's first clause names the word it defines: at its very
// start, after a word that names or likens ("叫", "指", "犹"), or before one
// that goes on with it ("…的人", "…之类"). Elsewhere in that clause the word
// may stand in an example that the lost colon ran in ("前后次序事有先后").
const NAMING_BEFORE = /(?:叫|叫做|称|称为|名为|谓之|即|犹|同|指|像|如|是|为|作|和|与|或|及|对|“|‘)$/u;
const NAMING_AFTER = /^(?:的|之|者|等|为|是|和|与|或|及|[“”‘’（(])/u;

function namedByFirstClause(before, after) {
  return hanCount(before) < 2 || NAMING_BEFORE.test(before) || NAMING_AFTER.test(after);
}

// The example model, trusted only where something beside its scores opens
// the example (a pronoun, a lexicon word holding the phrase): a definition's
// first clause names its word as often as an example there uses it. The
// word was written out, so a pronoun may stand inside the example ("表示不存
// 在星期天我不曾出过门").
function onlySureStarts(model) {
  return {
    exampleStart: (text, marker, phrase, options) => {
      const found = model.exampleStart(text, marker, phrase, { ...options, marked: false });
      return found.sure ? found : { start: null, sure: false };
    },
  };
}

// A word written out in its own sense stands in an example ("一样；同样别和
// 他一般见识"): it is marked "～", as the source marks it elsewhere, so that
// the example model finds the example. Quoted or bracketed, it is named.
// inFirstClause: also in the sense's first clause, where the definition
// does not name it there (see namedByFirstClause).
export function markWrittenOutWord(word, sense, lexicon, { inFirstClause = false } = {}) {
  if ([...word].length >= MIN_GLOSSED_PHRASE || sense.includes('～')) return sense;
  // Not where it is part of a longer word: 附着 and 手上 in "附着手上".
  const inLongerWord = (i) => [sense[i - 1] + word[0], word.at(-1) + sense[i + word.length]]
    .some((pair) => pair.length === 2 && lexicon?.has(pair));
  // Nor where the definition names it itself: in a list ("如小提琴独奏、钢琴独
  // 奏等"), before a bracket ("喀斯特（karst）") or in the sense's first clause;
  // nor after a comma in its sentence.
  const inFirst = (i) => !/[，。；]/u.test(sense.slice(0, i))
    && (!inFirstClause || namedByFirstClause(sense.slice(0, i), sense.slice(i + word.length)));
  const inDefinition = (i) => /[（(、]/u.test(sense[i + word.length] ?? '')
    || /(?:如|像|例如|比如|譬如|由)[^，。；]*$/u.test(sense.slice(0, i)) || inFirst(i)
    // After a comma in its sentence the example may well have begun a clause
    // before ("诸侯五月，同盟至", "物证面前，谎言露馅了").
    || /[，、][^；。]*$/u.test(sense.slice(0, i));
  let out = '';
  let depth = 0;
  let straightQuote = false;
  for (let i = 0; i < sense.length;) {
    if ('“‘（〔《'.includes(sense[i])) depth++;
    if ('”’）〕》'.includes(sense[i])) depth = Math.max(0, depth - 1);
    if (sense[i] === '"') straightQuote = !straightQuote;
    if (depth === 0 && !straightQuote && sense.startsWith(word, i) && !inLongerWord(i) && !inDefinition(i)) {
      out += '～';
      i += word.length;
    } else {
      out += sense[i++];
    }
  }
  return out;
}

// Words that lead into a definition and cannot end one.
const HANGING_LEAD = /(?:犹言|犹|即|指|谓|比喻|形容|表示|用于|用在|像|如|是|所)$/u;
// A definition of one character, or one that ends on a word leading into
// one, is a stub a cut left (two characters, "生气", define well enough).
const MIN_DEFINITION_CHARACTERS = 2;

function isStub(definition) {
  return hanCount(definition) < MIN_DEFINITION_CHARACTERS || HANGING_LEAD.test(definition.replace(/[。；，\s]+$/u, ''));
}

// Words that end a definition as its head: "某种情形", "一种乐器".
const MODIFIER_BEFORE_HEAD = /(?:的|之|种|类|个|样|某)$/u;

// Characters that end a definition on their own ("…的人", "…之物").
const ENDING_CHARACTER = /[的者人物事地时处等类状貌]/u;

// Whether a cut definition ends inside the example that followed it, on a
// word that only leads into what follows ("容纳而不", "…有魄力，可", "帮助而").
const LEADS_ON = new Set(['而', '不', '还', '可', '也', '都', '就', '才', '又', '再', '把', '被', '让', '使', '给', '对', '向', '跟',
  '和', '与', '待', '由', '在', '从', '以', '将', '比', '同', '及', '或', '并']);

function cutInsideExample(definition, lexicon) {
  if (!lexicon) return false;
  const words = segment(definition.replace(/[。；，\s]+$/u, ''), (w) => lexicon.has(w));
  return words.length > 1 && LEADS_ON.has(words.at(-1));
}

function endsMidExample(definition, lexicon) {
  if (!lexicon) return false;
  const clause = definition.replace(/[。；，\s]+$/u, '').split(/[，；。]/u).at(-1);
  // "犹言对不起" names a word, whatever it is.
  if (/^(?:犹言|犹|即|同)/u.test(clause)) return false;
  const last = segment(clause, (w) => lexicon.has(w)).at(-1) ?? '';
  const tag = lexicon.get(last)?.tag ?? '';
  return /^[il]/u.test(tag) || ([...last].length === 1 && tag !== 'f' && !ENDING_CHARACTER.test(last));
}

// The definition without the opening of the example the model left in it:
// a subject noun before an example that opens with its predicate (可爱 "令人
// 喜爱孩子" of "…孩子活泼～"), a clause of subject and predicate before the
// comma that the word's example goes on after (也许 "不肯定天气闷热" of
// "…天气闷热，也许会下雨"), a pronoun's 的 waiting for its head (作为 "所作所为
// 他的" of "…他的这种～…"), or a preposition and its object ("呼应为了祖国",
// "成就在事业上").
// A preposition, or a verb ending in one ("放在"), that frames a place.
const LOCATIVE_FRAME = /(?:在|于|从|到|向|往|自)$/u;

// The definition cut from sense, without its stop, and what of sense (the
// word written out) was taken off after it; null where sense does not open
// with the definition.
function cutOfDefinition(definition, sense, word) {
  const stop = /。$/u.test(definition) ? '。' : '';
  const core = definition.slice(0, definition.length - stop.length);
  const whole = sense.replaceAll('～', word);
  return core && whole.startsWith(core) ? { core, stop, rest: whole.slice(core.length) } : null;
}

// Whether definition was cut from sense right before a comma.
function cutAtComma(definition, sense, word) {
  return cutOfDefinition(definition, sense, word)?.rest.startsWith('，') ?? false;
}

export function withoutExampleOpening(definition, sense, word, lexicon) {
  const taken = cutOfDefinition(definition, sense, word);
  if (!lexicon || !taken) return definition;
  const { core, stop, rest } = taken;
  // Only where an example was taken off after the definition.
  if (hanCount(rest) === 0) return definition;
  const isWord = (w) => lexicon.has(w);
  const tagOf = (w) => lexicon.get(w)?.tag ?? '';
  // An interjection the example opened with ("…哎呀！" of "…哎呀！这还～！").
  const interjection = core.endsWith('！') ? segment(core.slice(0, -1), isWord).at(-1) ?? '' : '';
  if (tagOf(interjection) === 'e') {
    const kept = core.slice(0, core.length - interjection.length - 1).replace(/[，、；\s]+$/u, '');
    return hanCount(kept) >= 2 ? `${kept}${stop}` : definition;
  }
  const clauseStart = Math.max(core.lastIndexOf('，'), core.lastIndexOf('；'), core.lastIndexOf('。')) + 1;
  // A note in brackets ends the definition it follows; a few characters after
  // it open the example ("说话（含贬义）乱" of "…（含贬义）乱～一阵").
  const afterNote = core.slice(clauseStart).match(/^(.*\p{Script=Han}.*\p{Script=Han}.*（[^（）]*）)(\p{Script=Han}{1,3})$/u);
  // Not what completes the definition ("…的治安", "不闭塞", "使行驶").
  if (afterNote && !afterNote[1].startsWith('（') && !/^[的之不使而得地]/u.test(afterNote[2]) && !word.includes(afterNote[2])) {
    return `${core.slice(0, clauseStart)}${afterNote[1]}${stop}`;
  }
  const words = segment(core.slice(clauseStart), isWord);
  const beforeWord = segment(rest.replace(/^[，\s]+/u, '').split(word)[0], isWord);
  const restOpening = beforeWord[0] ?? '';
  // jieba tags many a word as a name (周密 nr); only its common nouns count.
  const noun = (w) => /^(?:n|ng|nz)$/u.test(tagOf(w)) && [...w].length > 1;
  const predicate = (w) => /^[avd]/u.test(tagOf(w));
  let cut = 0;
  // The subject's example is the subject, one adjective and the word ("孩子活泼～").
  if (words.length >= 2 && noun(words.at(-1)) && !MODIFIER_BEFORE_HEAD.test(words.at(-2))
    && beforeWord.length === 1 && tagOf(restOpening) === 'a') cut = 1;
  else if (words.length >= 3 && rest.startsWith('，') && noun(words.at(-2)) && predicate(words.at(-1))
    && !MODIFIER_BEFORE_HEAD.test(words.at(-3))) cut = 2;
  else if (/[的之]$/u.test(core) && words.length >= 3 && tagOf(words.at(-2)) === 'r') cut = 2;
  // A place or time the example opens with ("发生假期里" of "…假期里我～读了四本小说"),
  // unless a preposition of the definition frames it ("在正常情况下") or it
  // ends a list ("内心或实质上").
  else if (words.length >= 3 && /^[里上中下内外]$/u.test(words.at(-1)) && /^(?:n|ns|nz|t|s)$/u.test(tagOf(words.at(-2)))
    && [...words.at(-2)].length > 1 && !words.slice(0, -2).some((w) => LOCATIVE_FRAME.test(w))
    && tagOf(words.at(-3)) !== 'c') cut = 2;
  else {
    // "在事业上", "为了祖国": a preposition whose object the example goes on with.
    // Not 于, which definitions use themselves ("多用于比喻").
    const preposition = words.findLastIndex((w) => tagOf(w) === 'p' && w !== '于');
    const object = words.slice(preposition + 1);
    if (preposition > 0 && object.length && object.every((w) => /^(?:n|f|r)/u.test(tagOf(w)))) {
      // With its subject where one stands inside the clause ("领域学校在什么").
      cut = words.length - preposition + (preposition > 1 && noun(words[preposition - 1]) ? 1 : 0);
    }
  }
  if (!cut) return definition;
  const kept = core.slice(0, core.length - words.slice(-cut).join('').length).replace(/[，、；\s]+$/u, '');
  // What is left must still define: not end on the word that leads into a definition.
  return hanCount(kept) >= 2 && !HANGING_LEAD.test(kept) ? `${kept}${stop}` : definition;
}

// A sense that lists synonyms ("冒犯；触怒得罪了人") lost the colon before its
// example after the last one, which reads as long as the others. The last
// clause's first lexicon word ends the definition where what follows it
// holds the word and reads as an example (after any note in brackets): not
// a synonym said again, not what a definition goes on with ("超出一般",
// "出力服务", "所挑出的", "珍爱、重视", "命令或派遣", "做某事").
const SENSE_LABEL = /^(?:(?:副词|连词|介词|代词|助词|叹词|动词|形容词|名词|量词|数词|象声词|谦词|敬词|谦辞|敬辞|婉辞|书面语|口语|方言|〈方〉|〈口〉|〈书〉)[。，]?)+/u;
const SYNONYM = /^\p{Script=Han}{2,4}$/u;
// Tags of jieba's that never end a synonym: distinguishing words, particles,
// locality words, numerals and measure words wait for their head ("主要思想",
// "一个样子").
const NOT_A_DEFINITION_END = /^(?:b|u|f|m|q|zg|y|e|o)/u;
// Tags of a word the definition goes on with: verbal nouns and adjectives.
const DEFINITION_GOES_ON = /^(?:vn|a)/u;
const EXAMPLE_SUBJECT = /^(?:[他她我你您咱]|[这那](?![样般么])|大家|人们)/u;
// Pairs rarer than this straddle the seam by chance.
const MIN_STRADDLING_COUNT = 50;

// Whether the sense writes the word out after its start, outside brackets
// and quotations: where a run-in example left it.
function writesOutWord(sense, word) {
  for (let i = sense.indexOf(word, 1); i > 0; i = sense.indexOf(word, i + 1)) {
    if (outsideMarks(sense, i)) return true;
  }
  return false;
}

// The last synonym of a list, from the words of the clause holding it: the
// first word, or, where that is a word of one character (not an adjective, "差",
// a synonym of its own) and the others are longer, it and the words it goes
// on with up to their length ("非全体" after "一部分"). lastWord: the
// synonym's last word.
function lastSynonym(words, synonyms, lexicon) {
  const shortest = Math.min(...synonyms.map((c) => [...c].length));
  let synonym = words[0];
  let k = 1;
  const oneCharacterWord = [...synonym].length === 1 && lexicon.has(synonym);
  if (synonyms.length > 0 && oneCharacterWord && !lexicon.get(synonym).tag?.startsWith('a')) {
    for (; k < words.length && [...synonym].length < shortest; ++k) synonym += words[k];
  }
  return { synonym, lastWord: words[k - 1] };
}

// A sense of one synonym alone ("约束旧的生产关系限制了…") ends after it
// only where CC-CEDICT's English tells it is one (isSynonym(a, b)), as no
// other synonym shows how long it should be. splitsAt(text, index): whether
// the likeliest segmentation of text has a boundary at index.
export function synonymListDefinition(sense, word, lexicon, isSynonym = () => false, splitsAt = () => false) {
  if (!lexicon) return null;
  const text = sense.replace(/。$/u, '');
  const label = text.match(SENSE_LABEL)?.[0] ?? '';
  const clauses = text.slice(label.length).split('；');
  const synonyms = clauses.slice(0, -1);
  const last = clauses.at(-1);
  if (!synonyms.every((c) => SYNONYM.test(c))) return null;
  const at = last.indexOf(word);
  if (at <= 0) return null;
  const words = segment(last, (w) => lexicon.has(w));
  const { synonym, lastWord } = lastSynonym(words, synonyms, lexicon);
  const length = [...synonym].length;
  if (synonyms.length === 0) {
    if (!SYNONYM.test(synonym) || synonym === word || !isSynonym(synonym, word)) return null;
  } else {
    const lengths = synonyms.map((c) => [...c].length);
    if (!SYNONYM.test(synonym) || length < Math.min(...lengths) || length > Math.max(...lengths)) return null;
  }
  if (NOT_A_DEFINITION_END.test(lexicon.get(lastWord)?.tag ?? 'x')) return null;
  // A note in brackets goes with the synonym it follows ("消磨（时间）").
  const note = last.slice(synonym.length).match(/^（[^（）]*）/u)?.[0] ?? '';
  const example = last.slice(synonym.length + note.length);
  const [opening] = segment(example, (w) => lexicon.has(w));
  // A word across the seam goes on with the synonym ("不常见"), unless the
  // example opens with the word itself, or, after a list, the likeliest
  // segmentation (splitsAt) leaves the two apart ("宁静听了…"); a pronoun
  // opens the example ("这事…").
  const straddled = !example.startsWith(word) && !(synonyms.length > 0 && splitsAt(last, length)) && [2, 3].some((n) => (lexicon.get(synonym.at(-1) + [...example].slice(0, n - 1).join(''))?.count ?? 0) >= MIN_STRADDLING_COUNT);
  if (straddled || /^[这那他她我你]/u.test(synonym)) return null;
  if (example.indexOf(word) < 0) return null;
  // After one synonym, only an example that cannot go on with the definition
  // ends it: one that opens with the word as a word of its own (not "利用摄影机
  // 将…") or with whom it is about ("他…").
  if (synonyms.length === 0 && opening !== word && !EXAMPLE_SUBJECT.test(example)) return null;
  // Adverbs listed one by one ("到底；终究；毕竟") modify nothing after them.
  const adverbs = synonyms.length > 0 && [...synonyms, synonym].every((c) => lexicon.get(c)?.tag === 'd');
  // An example opening with the word ("得罪了人") goes on with nothing of the definition.
  if (!example.startsWith(word) && (/^[（(“‘到所而之以也的地得了着过，。、；]/u.test(example)
    || synonyms.some((c) => example.startsWith(c)) || (!adverbs && DEFINITION_GOES_ON.test(lexicon.get(opening)?.tag ?? ''))
    || DEFINITION_GOES_ON_BEFORE_WORD.test(example.slice(0, example.indexOf(word))))) return null;
  return `${label}${[...synonyms, `${synonym}${note}`].join('；')}。`;
}

// A sense up to its first separator "｜" outside brackets (a bracket the
// source never closed holds nothing), which only examples follow, or null
// where it has none.
function beforeLaterExamples(sense) {
  for (let i = sense.indexOf('｜'); i > 0; i = sense.indexOf('｜', i + 1)) {
    if (closedAt(sense, i, '（', '）') || !sense.includes('）', i)) return `${sense.slice(0, i).trim()}。`;
  }
  return null;
}

// The sentence a word's line shows of a sense: past a gloss of part of the
// word or another name of it ("亦作…"), and past the source the sense opens
// with to what it says the word means, with the sentence a label ("代词。")
// stands for; null where the sense only quotes its source, cut off inside
// the quotation.
function leadSentence(text, word, isKnownWord, tally) {
  let glossed = false;
  const pastGlosses = (part) => {
    // A stop inside a quotation ends no sentence ("说“吾穿井得一人。”").
    const sentences = sentencesOutsideMarks(part, '。');
    let first = 0;
    while (first + 1 < sentences.length) {
      if (glossedPart(word, sentences[first], isKnownWord)) glossed = true;
      else if (!OTHER_NAME.test(sentences[first])) break;
      first++;
    }
    return sentences.slice(first);
  };
  let sentences = pastGlosses(text);
  const meaning = meaningAfterCitation(sentences.join(''));
  if (meaning === '') {
    count(tally, 'citationOnlySenses');
    return null;
  }
  if (meaning) {
    count(tally, 'citationsPassedOver');
    sentences = pastGlosses(meaning);
  }
  if (glossed) count(tally, 'partGlosses');
  let lead = sentences[0] ?? '';
  // "代词。" or "表数量。" only labels the sentence after it, but not a source it cites ("名声。语本《论语》…").
  if (hanCount(lead) <= MAX_LABEL_CHARACTERS && sentences.length > 1) {
    const cited = meaningAfterCitation(sentences.slice(1).join(''));
    if (cited === null) lead += sentences[1];
    else if (opensAsMeaning(cited)) lead += sentencesOutsideMarks(cited, '。')[0];
  }
  return lead;
}

const USAGE_LABEL_ONLY = /^\s*(?:〈[^〈〉]{1,3}〉)+\s*$/u;
// The spoken form with 儿 before the numbered senses, for all of them.
const SPOKEN_FORM_ONLY = /^\s*（～儿）\s*$/u;

// reading: { shown, otherReadingRule(sense) } — the reading shown, and the
// rule by which a sense belongs to another one ('' where none does).
export function wordSenses(word, explanation, isKnownWord, cleaning = {}, tally = {}, reading = {}) {
  const shownReading = reading.shown ?? '';
  const senses = [];
  const otherNames = [];
  let droppedRule = '';
  // "〈方〉①…": a usage label before the first number is no sense of its own.
  let usageLabel = '';
  let spokenForm = '';
  for (const source of sensesOfReading(word, explanation, shownReading, tally)) {
    if (senses.length === MAX_WORD_SENSES) break;
    if (USAGE_LABEL_ONLY.test(source)) {
      usageLabel += source.trim();
      continue;
    }
    if (senses.length === 0 && SPOKEN_FORM_ONLY.test(source)) {
      spokenForm = `（${word}儿）`;
      continue;
    }
    const raw = dropSourceMarks(source);
    if (!raw || isSelfLabel(word, raw)) {
      count(tally, 'selfLabels');
      continue;
    }
    // Gloss colons only come back in idioms.
    const idiom = [...word].length >= MIN_GLOSSED_PHRASE;
    // The historical dictionary's entries ("1.…") hold no run-in examples.
    let marked = HISTORICAL.test(explanation) ? raw : markWrittenOutWord(word, raw, cleaning.lexicon);
    const options = idiom ? cleaning : { ...cleaning, lexicon: null };
    let markedOptions = options;
    // In the first clause, only where the example's start is sure.
    if (marked === raw && !HISTORICAL.test(explanation) && cleaning.examples) {
      const inFirstClause = markWrittenOutWord(word, raw, cleaning.lexicon, { inFirstClause: true });
      if (inFirstClause !== raw) {
        marked = inFirstClause;
        markedOptions = { ...options, examples: onlySureStarts(cleaning.examples) };
      }
    }
    let defined = senseDefinition(marked, word, markedOptions);
    // Cut inside its example, as the source has it then: where the definition
    // still holds the word, ends on a set phrase ("容貌暮去朝来" of "…暮去朝来
    // 颜色故") or a lone character ("不专注驰" of "…驰心旁骛"), or is left a
    // stub ("特指" of "特指唯物辩证法").
    if (marked !== raw && (defined.includes(word) || endsMidExample(defined, cleaning.lexicon) || isStub(defined))) {
      defined = senseDefinition(raw, word, options);
    } else if (marked === raw && raw.includes('～') && cutInsideExample(defined, cleaning.lexicon)) {
      // The source's own "～" example, its start put wrong ("对事物容纳而不" of
      // "…容纳而不拒绝～任务"): the sense stays whole.
      count(tally, 'examplesLeftWhole');
      defined = cleanSense(raw, word);
    } else if (markedOptions !== options && defined !== senseDefinition(raw, word, options)) {
      count(tally, 'firstClauseExamples');
    }
    const markedSense = cleanSense(marked, word);
    let cleaned = idiom ? defined : withoutExampleOpening(defined, markedSense, word, cleaning.lexicon);
    if (cleaned !== defined) count(tally, 'exampleOpeningsTrimmed');
    // Cut at a comma, the definition still ends on the example's first clause
    // ("形容吃惊意外的消息传来" of "…意外的消息传来，大家都为之～"): the sense stays whole.
    else if (!idiom && cutAtComma(defined, markedSense, word)) {
      count(tally, 'examplesLeftWhole');
      cleaned = cleanSense(raw, word);
    }
    const selfless = dropSelfReferences(word, cleaned);
    if (selfless !== cleaned) count(tally, 'selfReferences');
    const lead = leadSentence(selfless, word, isKnownWord, tally);
    if (lead === null) continue;
    let sense = oneLine(lead.replace(/～/g, word).replace(/ㄧ/g, '｜'));
    // The rules below look for the first example's start in what comes
    // before the later examples, while it still holds the word.
    const firstExample = beforeLaterExamples(sense);
    if (firstExample && writesOutWord(firstExample, word)) {
      count(tally, 'laterExamplesDropped');
      sense = firstExample;
    }
    const runIn = writesOutWord(sense, word);
    const listed = runIn ? synonymListDefinition(sense, word, cleaning.lexicon, cleaning.isSynonym, cleaning.examples?.splitsAt) : null;
    const headed = runIn && !listed ? headedExampleStart(sense, word) : null;
    const quoted = runIn && !listed && headed === null && cleaning.isQuoted ? quotedExampleStart(sense, word, cleaning.isQuoted, cleaning.lexicon) : null;
    const opening = runIn && !listed && headed === null && quoted === null && cleaning.examples?.wordOpensExample
      ? cleaning.examples.wordOpensExample(sense, word) : null;
    const clauseEnd = runIn && !listed && headed === null && quoted === null && opening === null
      && cleaning.examples?.definitionClauseEnd ? cleaning.examples.definitionClauseEnd(sense, word) : null;
    if (listed) {
      count(tally, 'synonymListExamples');
      sense = listed;
    } else if (headed !== null) {
      count(tally, 'headedExamples');
      sense = `${[...sense].slice(0, headed).join('')}。`;
    } else if (quoted !== null) {
      count(tally, 'quotedExamples');
      sense = `${[...sense].slice(0, quoted).join('')}。`;
    } else if (opening !== null) {
      count(tally, 'openingExamples');
      sense = `${[...sense].slice(0, opening).join('')}。`;
    } else if (clauseEnd !== null) {
      count(tally, 'definitionClauseExamples');
      sense = `${[...sense].slice(0, clauseEnd).join('')}。`;
    }
    const afterRules = beforeLaterExamples(sense);
    if (afterRules) {
      count(tally, 'laterExamplesDropped');
      sense = afterRules;
    }
    if (isDamaged(sense)) {
      count(tally, 'damagedSenses');
      sense = undamagedPart(sense);
      if (hanCount(sense) < 2) continue;
    }
    if (ONLY_POINTER.test(sense) || OTHER_NAME.test(sense)) {
      // "亦作“乜邪”" tells a form, not a sense; alone, it is all there is.
      if (!ONLY_POINTER.test(sense)) {
        otherNames.push(sense);
        continue;
      }
      count(tally, 'pointerSenses');
      continue;
    }
    // A sense drawn from one of another reading ("引申为…") goes with it.
    const rule = reading.otherReadingRule?.(sense) || (droppedRule && DRAWN_FROM.test(sense) ? droppedRule : '');
    droppedRule = rule;
    if (rule) {
      count(tally, `otherReading.${rule}`);
      continue;
    }
    // "见〖分数〗②。": the source's number of another word's sense splits off
    // a sense without a word of its own.
    if (sense && hanCount(sense) === 0) {
      count(tally, 'emptySenses');
      continue;
    }
    // The source often leaves the stop out after a note in brackets ("①借（钱）②…").
    if (/[\p{Script=Han}）]$/u.test(sense)) sense += '。';
    // "②觉得①…③觉得②…": two senses that point to two of another word's read the same here.
    if (sense && !senses.includes(usageLabel + sense)) {
      senses.push(usageLabel + sense);
      usageLabel = '';
    }
  }
  if (senses.length === 0) senses.push(...otherNames.slice(0, 1));
  else if (otherNames.length) count(tally, 'otherNameSenses');
  if (senses.length === 0) return '';
  if (senses.length === 1) return spokenForm + senses[0];
  return spokenForm + senses.map((sense, i) => SENSE_NUMBERS[i] + sense).join('');
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

// CC-CEDICT's other readings of a word, each with its own English, as the
// end of its line ("另读 gù shi：narrative; story; tale" after the gù shì that
// the Chinese explains of 故事): the Chinese explains one reading only, and
// the sense of another one is often the everyday one. Readings whose senses
// only point elsewhere ("erhua form of …") add nothing.
const MAX_OTHER_READINGS = 2;

export function otherReadings(entries, shownReading) {
  const seen = new Set([shownReading]);
  const parts = [];
  for (const entry of entries) {
    if (entry.pinyin !== entry.pinyin.toLowerCase()) continue;
    const reading = markPinyin(entry.pinyin);
    const gloss = readableSense(cedictGloss(entry));
    if (seen.has(reading) || !gloss) continue;
    seen.add(reading);
    parts.push(`另读 ${reading}：${gloss}`);
  }
  return parts.slice(0, MAX_OTHER_READINGS).join('；');
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
