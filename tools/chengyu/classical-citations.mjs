// Classical lines that use an idiom word for word, from npm chinese-poetry
// (fetched by tools/setup/fetch-chinese-poetry.sh), as an example of use:
// 宋·刘学箕《分题得雪浪斋石》：“似是而非不可知，诵诗对画长嗟咨。”
//
// A line counts only where the idiom stands as a unit of it: a clause of its
// own, the first four characters of a seven-character verse (its first two
// feet), or the beginning or end of a longer clause of prose or song; a
// five-character verse always splits a four-character idiom across its feet,
// which is a chance meeting of words. A line that is the idiom alone says
// nothing of its use, and lines with curses or coarse words are left out.
import { CLAUSE_BREAK, characterFolding } from '../common/chinese-poetry.mjs';

const SENTENCE = /[^。！？]*[。！？]?/gu;
const VERSE = 7;
// A line must say this many characters besides the idiom.
const MIN_CONTEXT = 4;
const COARSE = /短命|泼贱|贱人|畜生|禽兽|王八|杀才|该死|淫|娼|嫖|屎|尿|屁|骚/u;
// Stage directions of the plays: （正旦唱）.
const STAGE_DIRECTION = /[（(][^（）()]*[）)]/gu;
// An editor's note in place of a line: "）（〖1〗《江南野史》…「…".
const NOTE = /[〖〗「」【】]/u;

// Whether the idiom at index of a clause of length characters stands as a unit.
function standsAsUnit(index, idiomLength, length) {
  if (length === idiomLength) return true;
  if (length === VERSE) return index === 0 && idiomLength === 4;
  return length > VERSE && (index === 0 || index + idiomLength === length);
}

// The sentences of text that a citation may quote, each with the words of
// each length in lengths that stand as a unit of one of its clauses: a unit
// opens or closes its clause, so only those two places are looked at.
function* unitWords(text, lengths) {
  for (const sentence of text.match(SENTENCE).filter((s) => s.trim().length > 0)) {
    for (const clause of sentence.split(CLAUSE_BREAK)) {
      const characters = [...clause];
      for (const length of lengths) {
        const last = characters.length - length;
        for (const at of last > 0 ? [0, last] : last === 0 ? [0] : []) {
          if (standsAsUnit(at, length, characters.length)) {
            yield { sentence, words: characters.slice(at, at + length).join('') };
          }
        }
      }
    }
  }
}

const quotable = (text) => !COARSE.test(text) && !NOTE.test(text);

// Simplifying every traditional line takes OpenCC over a minute, yet few of
// them hold a wanted idiom. Each character simplified on its own tells which
// lines might: those are simplified whole, the rest are left out. The idioms
// are folded the same way, since OpenCC simplifies 乾 alone to 干 yet keeps
// it in 乾坤.
function mayHoldAnIdiom(traditional, idioms, lengths, simplify) {
  const fold = characterFolding(traditional, simplify);
  const wanted = new Set(idioms.map(fold));
  return (line) => {
    const text = line.text.replace(STAGE_DIRECTION, '');
    if (!quotable(text)) return false;
    for (const { words } of unitWords(fold(text), lengths)) if (wanted.has(words)) return true;
    return false;
  };
}

// lines: readPoetry's; idioms: the idioms wanted, most frequent first;
// simplify: texts -> their simplified forms, in one call (the traditional
// lines are matched and shown simplified). Returns idiom -> citation text,
// from the oldest line that qualifies.
export function findCitations(lines, idioms, simplify) {
  const wanted = new Set(idioms);
  const lengths = [...new Set(idioms.map((i) => [...i].length))];
  const traditional = lines.filter((l) => l.traditional && !l.quotationsOnly);
  const mayHold = mayHoldAnIdiom(traditional, idioms, lengths, simplify);
  const kept = traditional.filter(mayHold);
  const simplified = simplify(kept.map((l) => `${l.text}\u0001${l.author}\u0001${l.title}`));
  kept.forEach((line, i) => {
    const [text, author, title] = simplified[i].split('\u0001');
    Object.assign(line, { text, author, title, simplified: true });
  });
  const found = new Map();
  for (const line of lines) {
    if (line.quotationsOnly || (line.traditional && !line.simplified)) continue;
    const text = line.text.replace(STAGE_DIRECTION, '');
    if (!quotable(text)) continue;
    for (const { sentence, words } of unitWords(text, lengths)) {
      if (!wanted.has(words) || found.has(words)) continue;
      if ([...sentence.replace(/[^\p{Script=Han}]/gu, '')].length < words.length + MIN_CONTEXT) continue;
      found.set(words, citation(line, sentence.trim()));
    }
  }
  return found;
}

function citation({ dynasty, author, title, collection }, sentence) {
  // "…降神用《景安》" inside the title marks.
  const named = title === collection ? '' : title.replace(/《/gu, '〈').replace(/》/gu, '〉');
  const work = collection ? `${collection}${named ? `·${named}` : ''}` : named;
  const writer = author && author !== '佚名' ? `·${author}` : '';
  return `${dynasty}${writer}《${work}》：“${sentence}”`;
}
