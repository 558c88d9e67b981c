// A Chinese explanation for an idiom whose own cnchar-data entry gives none
// that can stand alone, so that CC-CEDICT's English is not all it shows.
// cnchar-data still holds one, in this order of trust:
//  1. an entry a pointer of the idiom's names, under its own spelling or the
//     simplified one its key has (见“茶馀酒后” is filed under 茶余酒后), and
//     a pointer past the first ("亦作“异军突起”。见“异军特起”");
//  2. the idiom's own definition too short to stand alone ("大怒。"), or
//     what its text says after the last damaged sentence;
//  3. an entry that names the idiom as its equal and defines itself
//     ("嗐声叹气：犹言唉声叹气。因烦闷或伤感而叹息。");
//  4. the idiom's pointer to a word that has no entry ("犹言“如饥如渴”。").
import {
  cleanExplanation, dropDamagedSentence, hanCount, hasMojibake, prefacedExplanation, referencePreface, resolveExplanation,
  restoreLostStops,
} from '../common/explanation-text.mjs';

// The target quoted or, as the source often has it, not ("犹言唉声叹气。").
const TARGET = '(?:“([^“”]+)”|([^“”，。；、\\s]{2,12})(?=[。；]|$))';
const LEADING_POINTER = new RegExp(`^(见|同|犹言|犹|亦作|也作|又作|即)${TARGET}[。；]?`, 'u');
// A pointer sentence inside a sense that also defines ("指高耸的楼房。同“高楼大厦”。").
const POINTER_SENTENCE = new RegExp(`(?<=^|[。；])(犹言|犹|同|即|亦作|也作|又作)${TARGET}[。；]?`, 'gu');
// 同 and the variant keywords say the two are one; 犹 only that they are alike.
const SAME = new Set(['同', '即', '亦作', '也作', '又作']);
// "傻气。" is a definition by a synonym; one character is not.
const MIN_SHORT_DEFINITION = 2;
// What a defining entry must say besides its pointer.
const MIN_DEFINITION = 3;
// An undamaged tail of a damaged text that says this much is a definition.
const MIN_TAIL = 6;

function pointersOf(cleaned) {
  return cleaned.split('\r\n').map((line) => line.match(LEADING_POINTER)).filter(Boolean)
    .map(([, keyword, quoted, bare]) => ({ keyword, target: quoted ?? bare }));
}

// The sentences after the last damaged one, where they say what the idiom
// came to mean ("…◇用“期期艾艾”形容说话结结巴巴。" after a garbled origin).
function undamagedTail(raw, idiom) {
  const sentences = restoreLostStops(raw).match(/[^。]*(?:。[”’]*|$)/gu).filter((s) => s.length > 0);
  const lastDamaged = sentences.findLastIndex((s) => hasMojibake(s));
  if (lastDamaged < 0) return '';
  const tail = cleanExplanation(sentences.slice(lastDamaged + 1).join(''), idiom);
  return hanCount(tail) >= MIN_TAIL ? tail : '';
}

function compareCodePoints(a, b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

// entries: [word, raw] pairs. Returns idiom -> [{ word, keyword, definition }],
// the entries that are the same as the idiom first.
function definingEntries(entries) {
  const byTarget = new Map();
  for (const [word, raw] of entries) {
    if (typeof raw !== 'string' || !/[犹同即作]/u.test(raw)) continue;
    const found = new Map();
    for (const line of cleanExplanation(raw).split('\r\n')) {
      for (const [sentence, keyword, quoted, bare] of line.matchAll(POINTER_SENTENCE)) {
        const target = quoted ?? bare;
        const definition = line.replace(sentence, '').trim();
        if (target === word || hanCount(definition) < MIN_DEFINITION || LEADING_POINTER.test(definition)) continue;
        const key = `${target}\t${keyword}`;
        found.set(key, [...(found.get(key) ?? []), definition]);
      }
    }
    for (const [key, definitions] of found) {
      const [target, keyword] = key.split('\t');
      byTarget.set(target, [...(byTarget.get(target) ?? []), { word, keyword, definition: definitions.join('\r\n') }]);
    }
  }
  for (const list of byTarget.values()) {
    list.sort((a, b) => (SAME.has(b.keyword) - SAME.has(a.keyword)) || compareCodePoints(a.word, b.word));
  }
  return byTarget;
}

// explanationOf: word -> raw text or undefined; entries: every [word, raw];
// spellingsOf: word -> the word and its other spellings (simplified,
// variant characters). Returns (idiom, raw) -> the Chinese explanation, ''
// where cnchar-data holds none.
export function chineseFallback(explanationOf, entries, knownIdioms, spellingsOf) {
  let defining = null;
  const followed = (idiom, { keyword, target }) => {
    for (const candidate of spellingsOf(target)) {
      const resolved = resolveExplanation(candidate, explanationOf, knownIdioms);
      if (resolved.reason !== '') continue;
      const phrase = resolved.target || candidate;
      return prefacedExplanation({ target: phrase, reference: { keyword, target: phrase } },
        cleanExplanation(resolved.text, phrase));
    }
    return '';
  };
  return (idiom, raw) => {
    const own = typeof raw === 'string' ? cleanExplanation(dropDamagedSentence(raw) ?? '', idiom) : '';
    // "见“飞针走缐”" under 飞针走线 points to the idiom itself.
    const itself = new Set(spellingsOf(idiom));
    const pointers = pointersOf(own).filter((p) => !spellingsOf(p.target).some((w) => itself.has(w)));
    for (const pointer of pointers) {
      const text = followed(idiom, pointer);
      if (text) return text;
    }
    if (pointersOf(own).length === 0 && hanCount(own) >= MIN_SHORT_DEFINITION) return own;
    const tail = typeof raw === 'string' ? undamagedTail(raw, idiom) : '';
    if (tail) return tail;
    defining ??= definingEntries(entries());
    const entry = defining.get(idiom)?.[0];
    if (entry) {
      return prefacedExplanation({ target: entry.word, reference: { keyword: entry.keyword, target: entry.word } },
        entry.definition);
    }
    // Last, what the pointer itself says: "犹言“如饥如渴”。".
    return pointers.length > 0 ? referencePreface(pointers[0]) : '';
  };
}
