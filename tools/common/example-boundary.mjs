// Where a usage example that runs into its definition begins. cnchar-data
// lost every colon, so "爱惜并保护～公物" no longer says where the definition
// ends. Two character-bigram models, one of definitions and one of examples,
// both learnt from the explanations themselves, score each possible start;
// the split only falls between the words the lexicon segments the text into;
// a lexicon word that holds the looked-up word ("灯火辉煌") moves the start
// back over it, and a pronoun ("他…") is taken as the start. Where the models
// share their belief among several starts, there is no start: the text is
// better left whole than cut in the wrong place.

import { closedAt, hanCount, outsideMarks } from './explanation-text.mjs';

const SEPARATORS = /[ㄧ｜丨]/u;
const SENSES = /\n|(?=[①②③④⑤⑥⑦⑧⑨⑩])/u;
const NUMBERING = /^[\s\u3000]*(?:\d+\.|[①②③④⑤⑥⑦⑧⑨⑩])/u;
// Two-character words this rare are as likely a chance pair of characters.
const MIN_PAIR_COUNT = 50;
// Example heads longer than this share one prior.
const MAX_HEAD = 30;
// The longest lexicon word the segmentation looks for.
const MAX_WORD = 6;
// A word seen this often in definitions that ends fewer than this share of
// them does not end one ("煮得", "不能", "所以"), unless it ends this many
// ("…的").
const MIN_ENDING_EVIDENCE = 20;
const MIN_ENDING_SHARE = 0.06;
const COMMON_ENDING = 100;
// The share of definitions a word must end for a written-out phrase after
// it to open the example ("往来各地买卖货物的商人商旅云集").
const OPENING_ENDING_SHARE = 0.25;
// How much of the models' belief the chosen start must hold.
const MIN_CONFIDENCE = 0.8;
// How many examples' worth of belief the learnt head prior holds against a
// sense's own.
const LATER_HEADS_WEIGHT = 2;
// A clause defines whole where at least this many other words' senses hold
// it as one of their own: one word's may be its own run-in.
const MIN_DEFINING_WORDS = 2;
// The fewest characters a definition before such an example holds.
const MIN_DEFINITION_LENGTH = 2;
// The least share of the clauses opening with such a definition that are it whole.
const MIN_WHOLE_SHARE = 0.2;
// What a definition goes on with before the word it writes out: a list, or
// whatever it leaves open ("命令做某事").
export const DEFINITION_GOES_ON_BEFORE_WORD = /[、某或等]/u;
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
      // One more half count for the symbols never seen, so an empty model scores too.
      const unigram = ((this.unigrams.get(symbols[i]) ?? 0) + 0.5) / (this.total + 0.5 * (this.unigrams.size + 1));
      const history = this.unigrams.get(symbols[i - 1]) ?? 0;
      const bigram = history ? (this.bigrams.get(symbols[i - 1] + symbols[i]) ?? 0) / history : 0;
      sum += Math.log(0.7 * bigram + 0.3 * unigram);
    }
    return sum;
  }
}

// entries: [word, raw explanation] pairs; lexicon: word -> { count }.
export function learnExampleBoundaries(entries, lexicon) {
  const definitions = new BigramModel();
  const examples = new BigramModel();
  const heads = new Array(MAX_HEAD + 1).fill(1);
  const clauses = [];
  // Which words a clause defines whole, up to MIN_DEFINING_WORDS of them.
  const definingWords = new Map();
  for (const [word, raw] of entries) {
    if (typeof raw !== 'string' || word.length === 0) continue;
    for (const piece of raw.split(SENSES)) {
      const sense = piece.replace(NUMBERING, '').trim();
      if (!sense.includes('～') && !SEPARATORS.test(sense)) {
        if (/[“”"《]/u.test(sense)) continue;
        for (const clause of sense.split(/[。；]/u)) {
          if (clause.length < 2) continue;
          definitions.add(clause, { opens: true, closes: true });
          clauses.push(clause);
          const words = definingWords.get(clause) ?? new Set();
          if (words.size <= MIN_DEFINING_WORDS) words.add(word);
          definingWords.set(clause, words);
        }
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
      if (marker >= 0 && closedAt(segments[0], marker, '（', '）')) examples.add(segments[0].slice(marker), { opens: false, closes: false });
    }
  }
  // Every clause in code-point order, to count those that open with a text.
  const sortedClauses = [...clauses].sort();
  const firstAtLeast = (text) => {
    let low = 0;
    let high = sortedClauses.length;
    while (low < high) {
      const middle = (low + high) >> 1;
      if (sortedClauses[middle] < text) low = middle + 1;
      else high = middle;
    }
    return low;
  };
  const clausesOpeningWith = (text) => firstAtLeast(`${text}\u{10ffff}`) - firstAtLeast(text);
  const wholeClauses = (text) => firstAtLeast(`${text}\u0000`) - firstAtLeast(text);
  const headTotal = heads.reduce((a, b) => a + b, 0);
  const headPrior = heads.map((n) => Math.log(n / headTotal));
  const isWord = (w) => (lexicon.get(w)?.count ?? 0) >= (w.length === 2 ? MIN_PAIR_COUNT : 1);
  let lexiconTotal = 0;
  for (const { count } of lexicon.values()) lexiconTotal += count;
  const logTotal = Math.log(lexiconTotal + 1);
  const wordLogProbability = new Map();
  // Every beginning of a longer word, so the search stops where no word goes on.
  const wordBeginnings = new Set();
  for (const [word, { count }] of lexicon) {
    if (count <= 0) continue;
    wordLogProbability.set(word, Math.log(count) - logTotal);
    const chars = [...word];
    for (let n = 2; n < chars.length; ++n) wordBeginnings.add(chars.slice(0, n).join(''));
  }

  // Where the most likely segmentation of chars into lexicon words, as
  // jieba's own, puts a boundary: a word that merely straddles a seam by
  // chance ("迟疑不决意" holds 决意) does not keep the split from it.
  const wordBoundaries = (chars) => {
    const best = new Array(chars.length + 1).fill(-Infinity);
    const next = new Array(chars.length + 1).fill(chars.length);
    best[chars.length] = 0;
    for (let from = chars.length - 1; from >= 0; --from) {
      let word = '';
      for (let to = from + 1; to <= Math.min(chars.length, from + MAX_WORD); ++to) {
        word += chars[to - 1];
        const known = wordLogProbability.get(word);
        if (known === undefined && to > from + 1) {
          if (wordBeginnings.has(word)) continue;
          break;
        }
        const score = (known ?? -logTotal) + best[to];
        if (score > best[from]) {
          best[from] = score;
          next[from] = to;
        }
      }
    }
    const boundaries = new Set();
    for (let at = 0; at < chars.length; at = next[at]) boundaries.add(at);
    return boundaries;
  };

  // How often each word of the definitions ends one: "不能", "有" or "所以"
  // leave a definition hanging, so no example starts after them.
  const endings = new Map();
  for (const clause of clauses) {
    const chars = [...clause];
    const starts = [...wordBoundaries(chars)];
    starts.forEach((from, k) => {
      const word = chars.slice(from, starts[k + 1] ?? chars.length).join('');
      const seen = endings.get(word) ?? { count: 0, ends: 0 };
      ++seen.count;
      if (k === starts.length - 1) ++seen.ends;
      endings.set(word, seen);
    });
  }
  const endsDefinition = (word) => {
    // A noun may end a definition however seldom it is seen to ("挂在口头").
    if (lexicon.get(word)?.tag?.startsWith('n')) return true;
    const seen = endings.get(word);
    return !seen || seen.count < MIN_ENDING_EVIDENCE || seen.ends >= COMMON_ENDING || seen.ends / seen.count >= MIN_ENDING_SHARE;
  };
  // Whether word is seen often enough, and often enough at the end, to end a
  // definition right before an example's start where nothing else tells it.
  const oftenEnds = (word) => {
    const seen = endings.get(word);
    return Boolean(seen) && seen.count >= MIN_ENDING_EVIDENCE && seen.ends / seen.count >= OPENING_ENDING_SHARE;
  };

  // Where the example starts in text, in code points, whose code point
  // marker is the first "～" standing for phrase: { start, sure }, sure when
  // a pronoun or a lexicon word that holds the phrase opens the example
  // rather than the models alone; start is null when the models are unsure;
  // likeliest, the start the models believe in most where one may be.
  // laterHeads: how far into each later example of the sense the phrase
  // stands; marked: whether the source wrote the phrase as "～".
  function exampleStart(text, marker, phrase, { laterHeads = [], marked = true } = {}) {
    const chars = [...text];
    // The examples of one sense are alike: those after "ㄧ" sway the belief
    // that this one opens with the phrase too ("～公路ㄧ～楼房").
    const openingShare = Math.exp(headPrior[0]);
    const opening = (laterHeads.filter((h) => h === 0).length + LATER_HEADS_WEIGHT * openingShare)
      / (laterHeads.length + LATER_HEADS_WEIGHT);
    const headPriorOf = (length) => (length === 0 ? Math.log(opening)
      : headPrior[Math.min(length, MAX_HEAD)] + Math.log((1 - opening) / (1 - openingShare)));
    // An example does not start before a note in brackets or an earlier clause's stop.
    const earliest = Math.max(1, ...['）', '〉', '；', '。'].map((c) => chars.lastIndexOf(c, marker) + 1));
    const spelled = [...chars.slice(0, marker), ...phrase, ...chars.slice(marker + 1)];
    const boundaries = wordBoundaries(spelled.slice(0, marker + [...phrase].length));
    const between = (at) => boundaries.has(at);
    // The definition's last word; after a comma or a bracket the clause is whole.
    const lastWordBefore = (at) => {
      if (!/\p{Script=Han}/u.test(spelled[at - 1] ?? '')) return '';
      let from = at - 1;
      while (from > 0 && !between(from)) --from;
      return spelled.slice(Math.max(from, 0), at).join('');
    };
    // An example is more than the phrase and a particle ("打～。").
    const bare = /^[的了地得着儿呢吗啊\s。！？，]*$/u.test(chars.slice(marker + 1).join(''));
    const scored = [];
    for (let at = bare ? marker - 1 : marker; at >= earliest; --at) {
      if (at < marker && (!between(at) || NO_EXAMPLE_START.test(chars[at]))) continue;
      const score = definitions.logProbability(['^', ...chars.slice(0, at), '$'])
        + examples.logProbability(['^', ...chars.slice(at)]) + headPriorOf(marker - at);
      // A start after a hanging word is no start, but the models' belief in it still counts.
      scored.push({ at, score, allowed: endsDefinition(lastWordBefore(at)) });
    }
    // "水土～" where the lexicon knows 水土流失.
    const phraseEnd = marker + [...phrase].length;
    const best = scored.reduce((a, b) => (b.score > a.score ? b : a), { at: marker, score: -Infinity });
    for (let from = Math.max(earliest, marker - 4); from <= Math.min(best.at, marker - 1); ++from) {
      if (!between(from)) continue;
      const holdsPhrase = [phraseEnd, phraseEnd + 1].some((to) => lexicon.has(spelled.slice(from, to).join('')));
      if (holdsPhrase) return { start: from, sure: true };
    }
    // The share of the models' belief a start holds.
    const spread = scored.reduce((sum, { score }) => sum + Math.exp(score - best.score), 0);
    const share = (at) => Math.exp((scored.find((c) => c.at === at && c.allowed)?.score ?? -Infinity) - best.score) / spread;
    // "…思想感情他对儿童…": a pronoun, or a word with 们 ("姑娘们"), opens
    // an example that writes the phrase as "～", wherever the models put
    // it; in one that writes it out it may well stand inside the example
    // ("…手里可惜你怀才不遇，只落得明珠暗投") where the models put the start
    // before it.
    for (let at = earliest; at < (marked ? marker : Math.min(best.at + 1, marker)); ++at) {
      if (!between(at) || !endsDefinition(lastWordBefore(at))) continue;
      const plural = [3, 2, 1].find((n) => chars[at + n] === '们' && at + n < marker && isWord(chars.slice(at, at + n).join('')));
      const subject = SUBJECTS.find((s) => chars.slice(at, at + s.length).join('') === s);
      // "听了这番话，…": 这 or 那 after an aspect particle is the verb's object.
      const object = /^[这那]/u.test(subject ?? '') && /[了着过]/u.test(chars[at - 1] ?? '');
      if (plural || (subject && !object && !NOT_SUBJECTS.includes(chars.slice(at, at + 2).join('')) && !BEFORE_OBJECT.test(chars[at - 1] ?? ''))) {
        return { start: at, sure: true };
      }
    }
    // Nothing before the phrase can be a definition: the sense is all examples.
    if (scored.length === 0 && marker < earliest) return { start: marker, sure: false };
    return {
      start: best.allowed && share(best.at) >= MIN_CONFIDENCE ? best.at : null, sure: false, likeliest: best.allowed ? best.at : null,
    };
  }

  // Where an example that opens with phrase itself starts in sense, right
  // after its definition ("往来各地买卖货物的商人商旅云集"), in code points,
  // or null: only where the phrase is a word there or opens a longer one
  // ("朴实无华" of "质朴诚实朴实无华"), the definition's last word often ends
  // definitions, nothing ties the phrase to the definition
  // (grammarTiesToDefinition) and the models put the start there too.
  function wordOpensExample(sense, phrase) {
    const chars = [...sense];
    const length = [...phrase].length;
    const at = chars.findIndex((_, i) => i >= 2 && chars.slice(i, i + length).join('') === phrase);
    if (at < 0) return null;
    const boundaries = wordBoundaries(chars);
    if (!boundaries.has(at) || [...boundaries].some((b) => b > at && b < at + length)) return null;
    let from = at - 1;
    while (from > 0 && !boundaries.has(from)) --from;
    const parts = {
      head: chars.slice(0, at).join(''), last: chars.slice(from, at).join(''), beforeLast: chars.slice(0, from).join(''),
      rest: chars.slice(at + length).join('').replace(/[。！？\s]+$/u, ''),
    };
    if (grammarTiesToDefinition(parts, phrase, (w) => lexicon.get(w)?.tag ?? '')) return null;
    if (!oftenEnds(parts.last)) return null;
    const marked = [...chars.slice(0, at), '～', ...chars.slice(at + length)].join('');
    return exampleStart(marked, at, phrase, { marked: false }).likeliest === at ? at : null;
  }

  // Where an example that writes out phrase starts in sense, in code points,
  // right after a definition that other words' senses hold as a clause of
  // their own ("死亡" of "死亡知己沦亡，可胜浩叹！"), or null. Clauses that
  // are theirs whole, or that none of theirs opens, are passed over. Only
  // where the definition is no common opening of longer clauses ("精神委靡不
  // 振"), nor a usage label ("方言"), nor leads into what follows ("故称"),
  // the cut falls between words, what follows cannot go on with the
  // definition ("口袋一类的东西", "用心仔细、缜密", "命令做某事"), and the models
  // put the example's start there too.
  function definitionClauseEnd(sense, phrase) {
    const chars = [...sense];
    const length = [...phrase].length;
    const at = chars.findIndex((_, i) => i >= MIN_DEFINITION_LENGTH && chars.slice(i, i + length).join('') === phrase
      && outsideMarks(sense, chars.slice(0, i).join('').length));
    if (at < 0 || chars.slice(0, at).includes('。')) return null;
    const boundaries = wordBoundaries(chars);
    const definesOthers = (clause) => [...(definingWords.get(clause) ?? [])].filter((w) => w !== phrase).length >= MIN_DEFINING_WORDS;
    let clauseStart = 0;
    for (let i = 0; i <= at; ++i) {
      if (i < at && !/[，；]/u.test(chars[i])) continue;
      const clause = chars.slice(clauseStart, i).join('');
      if (definesOthers(clause)) {
        clauseStart = i + 1;
        continue;
      }
      const cut = [...boundaries].filter((b) => b >= clauseStart + MIN_DEFINITION_LENGTH && b < i)
        .findLast((b) => definesOthers(chars.slice(clauseStart, b).join('')));
      if (cut === undefined) {
        clauseStart = i + 1;
        continue;
      }
      const definition = chars.slice(clauseStart, cut).join('');
      const between = chars.slice(cut, at).join('');
      let to = cut + 1;
      while (to < chars.length && !boundaries.has(to)) ++to;
      const opening = chars.slice(cut, to).join('');
      const definesWhole = wholeClauses(definition) >= MIN_WHOLE_SHARE * clausesOpeningWith(definition)
        && !/[〈〉]|[词语言]$/u.test(definition) && mayEndDefinition(definition);
      const goesOn = NO_EXAMPLE_START.test(between) || between.includes('的') || DEFINITION_GOES_ON_BEFORE_WORD.test(between)
        || /^[cupfykzm]/u.test(lexicon.get(opening)?.tag ?? '');
      if (!definesWhole || goesOn) return null;
      const marked = [...chars.slice(0, at), '～', ...chars.slice(at + length)].join('');
      return exampleStart(marked, at, phrase, { marked: false }).likeliest === cut ? cut : null;
    }
    return null;
  }

  // Whether head ends on a word that ends definitions often (oftenEnds).
  function oftenEndsDefinition(head) {
    const chars = [...head];
    return oftenEnds(chars.slice([...wordBoundaries(chars)].at(-1) ?? 0).join(''));
  }
  // Whether the likeliest segmentation of text puts a word boundary at index, in code points.
  const splitsAt = (text, index) => wordBoundaries([...text]).has(index);
  return { exampleStart, wordOpensExample, definitionClauseEnd, oftenEndsDefinition, splitsAt };
}

// Whether a phrase written out after head, with rest after it, still
// belongs to the definition or cannot open an example: head is too short,
// leads on, or is open inside marks; rest is a suffix or a particle, too
// short, a quotation or a list ("加、减…等计算"); "指…的人员" is one noun
// phrase; a noun of its own just before the phrase is the example's subject
// ("缓慢地香气冉冉飘来"), a name or a time qualifies it ("指汉朝骠骑将军"), an
// adjective or a verb before a noun modifies or governs it ("漂亮身段",
// "修饰容貌"); and an adverb or a conjunction follows its example's subject
// ("试验终于成功了"). last: head's last word; beforeLast: head before it.
function grammarTiesToDefinition({ head, last, beforeLast, rest }, phrase, tagOf) {
  if (!mayEndDefinition(head) || hanCount(head.split(/[。；]/u).at(-1)) < 2) return true;
  if (!/^\p{Script=Han}/u.test(rest) || NO_EXAMPLE_START.test(rest) || /^[者性化式等们]/u.test(rest)
    || [...rest].length < 2 || /[“”‘’《]|、[^。]*等/u.test(rest)) return true;
  if (/指|称|谓/u.test(head.split(/[，。；]/u).at(-1)) && rest.includes('的')) return true;
  const ownNoun = tagOf(last).startsWith('n') && beforeLast !== ''
    && !/(?:[的之和与及或、，：；。]|指|称|即|是|为)$/u.test(beforeLast);
  return ownNoun || /^(?:nr|ns|nt|nz|t)$/u.test(tagOf(last)) || /^[dcp]/u.test(tagOf(phrase))
    || (tagOf(phrase).startsWith('n') && tagOf(last) === 'a')
    || (tagOf(last).startsWith('v') && !/^[va]/u.test(tagOf(phrase)));
}

// A figurative definition that ends on its head noun ("形容作战时狼狈逃跑的样子
// 打得敌军丢盔弃甲"): the head ends the definition wherever the models are
// unsure, as nothing of a definition follows "…的样子" but its example.
// Heads that definitions also go on after ("…的人", "…的东西", "…的心情") do not count.
const HEADED_DEFINITION = /^((?:形容|比喻|指|谓|泛指|多指|也指|原指|喻指)[^。；“”（）]*的(?:样子|景象|气氛|姿态|神态|神情|意思|地方|事(?![物情件实业务理])))(?=[^，。、；：？！（）“”的之])/u;

// Where the example of phrase starts in sentence, in code points, after such
// a definition; null where the sentence does not read so.
export function headedExampleStart(sentence, phrase) {
  const definition = sentence.match(HEADED_DEFINITION)?.[1];
  if (!definition || !sentence.slice(definition.length).includes(phrase)) return null;
  return [...definition].length;
}

// A classical quotation run into its definition ("睡梦夜阑更秉烛，相对如梦寐"):
// it starts where its first clause, and the clause holding the phrase, are
// clauses of chinese-poetry (isQuoted(clause)), the phrase not alone in
// either (a set phrase in a modern sentence is no quotation: "真叫人忍俊不禁").
// Not after a word that leads into what follows ("犹言一视同仁", "朗声说…", "作诗有…之句")
// nor inside brackets, quotation marks or a title. A time word of the
// lexicon just before it opens the quoted line ("不期而遇" before "一朝邂逅成相识")
// unless what comes before leads into it ("极长的岁月").
const LEADS_INTO_NEXT = /(?:说|曰|云|道|称|叫|有|犹言|犹|即|指|谓|是|如|像|为|比喻|形容|表示|用于|用在|所|与|和|及|而|以|之|的|于|在|对|把|被|将|从|向)$/u;
const QUOTATION_CLAUSE_BREAK = /[，。；：！？、]/u;

// Whether a definition may end where head does, for an example to follow:
// on a Han character, not on a word that leads into what follows, and
// outside brackets, quotation marks and titles.
function mayEndDefinition(head) {
  return /\p{Script=Han}$/u.test(head) && !LEADS_INTO_NEXT.test(head) && outsideMarks(head, head.length);
}

// Where the quotation of phrase starts in sense, in code points, or null.
export function quotedExampleStart(sense, phrase, isQuoted, lexicon = new Map()) {
  const chars = [...sense];
  for (let at = 2; at < chars.length; ++at) {
    const head = chars.slice(0, at).join('');
    const quotation = chars.slice(at).join('');
    if (!quotation.includes(phrase)) return null;
    if (!mayEndDefinition(head) || !/^\p{Script=Han}/u.test(quotation) || hanCount(head) < 2) continue;
    const clauses = quotation.split(QUOTATION_CLAUSE_BREAK);
    if (clauses[0] === phrase || !isQuoted(clauses[0])) continue;
    const holding = clauses.find((c) => c.includes(phrase));
    if (holding === undefined || holding === phrase || !isQuoted(holding)) return null;
    const time = [3, 2].find((n) => at - n >= 2 && lexicon.get(chars.slice(at - n, at).join(''))?.tag === 't'
      && !LEADS_INTO_NEXT.test(chars.slice(0, at - n).join('')));
    return time ? at - time : at;
  }
  return null;
}
