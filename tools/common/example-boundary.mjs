// Where a usage example that runs into its definition begins. cnchar-data
// lost every colon, so "爱惜并保护～公物" no longer says where the definition
// ends. Two character-bigram models, one of definitions and one of examples,
// both learnt from the explanations themselves, score each possible start;
// the split never cuts a word of the lexicon; a lexicon word that holds the
// looked-up word ("灯火辉煌") moves the start back over it, and a pronoun
// ("他…") is taken as the start.

const SEPARATORS = /[ㄧ｜丨]/u;
const SENSES = /\n|(?=[①②③④⑤⑥⑦⑧⑨⑩])/u;
const NUMBERING = /^[\s\u3000]*(?:\d+\.|[①②③④⑤⑥⑦⑧⑨⑩])/u;
// The longest example head the length prior tells apart.
const MAX_HEAD = 12;
// Two-character words this rare are as likely a chance pair of characters.
const MIN_PAIR_COUNT = 50;
// An example does not open with a particle or a punctuation mark.
const NO_EXAMPLE_START = /^[也矣哉焉乎耳得的地了着过之，。、；：！？”’）〉]/u;
const SUBJECTS = ['他们', '她们', '我们', '你们', '咱们', '大家', '人们', '他', '她', '我', '你', '您', '咱', '这', '那'];
// Pronouns that definitions use as well ("据为他人所有", "像…那样").
const NOT_SUBJECTS = ['他人', '这样', '那样', '那么', '这般', '那般'];
// A pronoun after these is an object ("全家对他都百般～").
const BEFORE_OBJECT = /[对给向跟和把被让叫使为替与同比令将朝]/u;

class BigramModel {
  constructor() {
    this.unigrams = new Map();
    this.bigrams = new Map();
    this.total = 0;
  }

  add(text, { opens, closes }) {
    const symbols = [...(opens ? '^' : ''), ...text, ...(closes ? '$' : '')];
    for (let i = 0; i < symbols.length; ++i) {
      this.unigrams.set(symbols[i], (this.unigrams.get(symbols[i]) ?? 0) + 1);
      ++this.total;
      if (i > 0) this.bigrams.set(symbols[i - 1] + symbols[i], (this.bigrams.get(symbols[i - 1] + symbols[i]) ?? 0) + 1);
    }
  }

  // Bigram interpolated with an add-half unigram, so unseen pairs still score.
  logProbability(symbols) {
    let sum = 0;
    for (let i = 1; i < symbols.length; ++i) {
      const unigram = ((this.unigrams.get(symbols[i]) ?? 0) + 0.5) / (this.total + 0.5 * this.unigrams.size);
      const history = this.unigrams.get(symbols[i - 1]) ?? 0;
      const bigram = history ? (this.bigrams.get(symbols[i - 1] + symbols[i]) ?? 0) / history : 0;
      sum += Math.log(0.7 * bigram + 0.3 * unigram);
    }
    return sum;
  }
}

function outsideParentheses(text, index) {
  const before = text.slice(0, index);
  return (before.match(/（/gu) ?? []).length <= (before.match(/）/gu) ?? []).length;
}

// entries: [word, raw explanation] pairs; lexicon: word -> { count }.
export function learnExampleBoundaries(entries, lexicon) {
  const definitions = new BigramModel();
  const examples = new BigramModel();
  const heads = new Array(MAX_HEAD + 1).fill(1);
  for (const [word, raw] of entries) {
    if (typeof raw !== 'string' || word.length === 0) continue;
    for (const piece of raw.split(SENSES)) {
      const sense = piece.replace(NUMBERING, '').trim();
      if (!sense.includes('～') && !SEPARATORS.test(sense)) {
        if (/[“”"《]/u.test(sense)) continue;
        for (const clause of sense.split(/[。；]/u)) if (clause.length >= 2) definitions.add(clause, { opens: true, closes: true });
        continue;
      }
      const segments = sense.split(SEPARATORS).map((s) => s.replaceAll(word, '～').replace(/[。\s]+$/u, ''));
      for (const segment of segments.slice(1)) {
        const marker = segment.indexOf('～');
        if (segment.length < 2 || marker < 0) continue;
        examples.add(segment, { opens: true, closes: false });
        ++heads[Math.min([...segment.slice(0, marker)].length, MAX_HEAD)];
      }
      const marker = segments[0].indexOf('～');
      if (marker >= 0 && outsideParentheses(segments[0], marker)) examples.add(segments[0].slice(marker), { opens: false, closes: false });
    }
  }
  const headTotal = heads.reduce((a, b) => a + b, 0);
  const headPrior = heads.map((n) => Math.log(n / headTotal));
  const isWord = (w) => (lexicon.get(w)?.count ?? 0) >= (w.length === 2 ? MIN_PAIR_COUNT : 1);

  const cutsWord = (chars, at, end) => {
    for (let from = Math.max(0, at - 3); from < at; ++from) {
      for (let to = at + 1; to <= Math.min(end, from + 4); ++to) if (isWord(chars.slice(from, to).join(''))) return true;
    }
    return false;
  };

  // Where the example starts in text, in code points, whose code point
  // marker is the first "～" standing for phrase: { start, sure }, sure when
  // a pronoun or a lexicon word that holds the phrase opens the example
  // rather than the models alone.
  function exampleStart(text, marker, phrase) {
    const chars = [...text];
    // Nor does it start before a note in brackets or an earlier clause's stop.
    const earliest = Math.max(1, ...['）', '〉', '；', '。'].map((c) => chars.lastIndexOf(c, marker) + 1));
    let best = marker;
    let bestScore = -Infinity;
    // An example is more than the phrase and a particle ("打～。").
    const bare = /^[的了地得着儿呢吗啊\s。！？，]*$/u.test(chars.slice(marker + 1).join(''));
    for (let at = bare ? marker - 1 : marker; at >= earliest; --at) {
      if (at < marker && (cutsWord(chars, at, marker) || NO_EXAMPLE_START.test(chars[at]))) continue;
      const score = definitions.logProbability(['^', ...chars.slice(0, at), '$'])
        + examples.logProbability(['^', ...chars.slice(at)]) + headPrior[Math.min(marker - at, MAX_HEAD)];
      if (score > bestScore) {
        bestScore = score;
        best = at;
      }
    }
    // "水土～" where the lexicon knows 水土流失.
    const spelled = [...chars.slice(0, marker), ...phrase, ...chars.slice(marker + 1)];
    const phraseEnd = marker + [...phrase].length;
    for (let from = Math.max(earliest, marker - 4); from < Math.min(best, marker); ++from) {
      if (cutsWord(chars, from, marker)) continue;
      const holdsPhrase = [phraseEnd, phraseEnd + 1].some((to) => lexicon.has(spelled.slice(from, to).join('')));
      if (holdsPhrase) return { start: from, sure: true };
    }
    // "…思想感情他对儿童…": a pronoun, or a word with 们 ("姑娘们"), opens the
    // example, wherever the models put it.
    for (let at = earliest; at < marker; ++at) {
      const plural = [3, 2, 1].find((n) => chars[at + n] === '们' && at + n < marker && isWord(chars.slice(at, at + n).join('')));
      if (plural && !cutsWord(chars, at, marker)) return { start: at, sure: true };
      const subject = SUBJECTS.find((s) => chars.slice(at, at + s.length).join('') === s);
      if (subject && !cutsWord(chars, at, marker) && !NOT_SUBJECTS.includes(chars.slice(at, at + 2).join(''))
          && !BEFORE_OBJECT.test(chars[at - 1] ?? '')) {
        return { start: at, sure: true };
      }
    }
    return { start: best, sure: false };
  }
  return { exampleStart };
}
