// Examples of use that cnchar-data runs into an idiom's explanation, taken
// out of it. The source lost the colon between a definition and the example
// after it ("形容十分担心、害怕他提心吊胆地走过独木桥"), and an idiom's
// example writes the idiom out, so where the example starts is a guess; the
// guess is only acted on where it is clearly better than the next best.
//
// Every possible start is scored from what the explanations themselves show:
// how definition-like the text before it is (words of definitions against
// jieba's corpus counts of everyday text), how often its last word ends a
// definition, how often its first word starts an example after "ㄧ", whether
// the last clause before it stands as a clause of its own elsewhere, and a
// subject pronoun ("他…") as the start, after which no start can be.
import { outsideMarks } from '../common/explanation-text.mjs';
import { headedExampleStart, quotedExampleStart } from '../common/example-boundary.mjs';

const SENSES = /\n|(?=[①②③④⑤⑥⑦⑧⑨⑩])/u;
const NUMBERING = /^[\s\u3000]*(?:\d+\.|[①②③④⑤⑥⑦⑧⑨⑩])/u;
const SEPARATORS = /[ㄧ｜丨]/u;
const PUNCTUATION = /[，、；：。！？（）“”‘’《》]/u;
// The longest lexicon word the segmentation looks for.
const MAX_WORD = 6;
// Weights of the evidence, and how far the best start must lead the next.
const WEIGHTS = { definitionLikeness: 0.2, endsDefinition: 1, startsExample: 0.2, standingClause: 0.3, subject: 3 };
const MIN_LEAD = 2.5;
// The lead enough where the definition ends on a word that often ends definitions.
const MIN_LEAD_AFTER_ENDING = 2;
// The everyday frequency an example's start is measured against when the
// example opens with the idiom itself (about that of a common pronoun).
const PHRASE_BACKGROUND = 0.005;
// An example does not open with a particle, nor a definition end in one.
const NO_START = /^[的地得了着过之，、；）]/u;
// The idiom after these is named, explained or given as another form, not
// used ("比喻自我吹嘘、夸张", "…的境界为六根清静", "亦作老鼠过街，人人喊打").
const NAMED_AFTER = /(?:比喻|形容|指|谓|犹言|犹|即|称|称为|叫|叫做|为|亦作|也作|又作|或作|也说|又说|亦称|也称|又称|也叫|又名)$/u;
// The idiom defined or named in its sentence: "倒持手板，指惊惶失态", "由一板三眼构成的称三眼板".
const DEFINED_AFTER = /^(?:[，、]?(?:指|比喻|形容|谓|意思是|意为|喻指|借指|泛指)|[^，。；]{0,8}(?:称为|叫做|称作|的称|之称|省称|简称))/u;
const SUBJECTS = ['他们', '她们', '我们', '你们', '咱们', '大家', '人们', '他', '她', '我', '你', '您', '咱', '这', '那'];
// Pronouns that definitions use as well ("据为他人所有", "像…那样", "这里…那里").
const NOT_SUBJECTS = ['他人', '这样', '那样', '那么', '这般', '那般', '这里', '那里'];
// A pronoun after these is an object ("全家对他都百般…"), or what a
// definition speaks of ("形容人们来来往往…").
const BEFORE_OBJECT = /(?:[对给向跟和把被让叫使为替与同比令将朝祝请]|形容|比喻|指|谓|像)$/u;

function increment(map, key) {
  map.set(key, (map.get(key) ?? 0) + 1);
}

function senseTexts(raw) {
  return raw.split(SENSES).map((piece) => piece.replace(NUMBERING, '').trim()
    .replace(/[﹐,]/gu, '，').replace(/﹑/gu, '、').replace(/[;﹔]/gu, '；'));
}

// The first occurrence of phrase outside quotation marks, titles and brackets, or -1.
export function bareIndex(text, phrase) {
  for (let i = text.indexOf(phrase); i >= 0; i = text.indexOf(phrase, i + 1)) if (outsideMarks(text, i)) return i;
  return -1;
}

function lexiconSegmenter(lexicon) {
  let total = 0;
  for (const { count } of lexicon.values()) total += count;
  const logTotal = Math.log(total);
  const beginnings = new Set();
  for (const word of lexicon.keys()) {
    const characters = [...word];
    for (let n = 2; n < characters.length; ++n) beginnings.add(characters.slice(0, n).join(''));
  }
  // The most likely segmentation into lexicon words, as jieba's own.
  const segment = (text) => {
    const characters = [...text];
    const best = new Array(characters.length + 1).fill(-Infinity);
    const next = new Array(characters.length + 1).fill(characters.length);
    best[characters.length] = 0;
    for (let from = characters.length - 1; from >= 0; --from) {
      let word = '';
      for (let to = from + 1; to <= Math.min(characters.length, from + MAX_WORD); ++to) {
        word += characters[to - 1];
        const count = lexicon.get(word)?.count;
        if (!count && to > from + 1) {
          if (beginnings.has(word)) continue;
          break;
        }
        const score = (count ? Math.log(count) - logTotal : -logTotal - 2) + best[to];
        if (score > best[from]) {
          best[from] = score;
          next[from] = to;
        }
      }
    }
    const words = [];
    for (let at = 0; at < characters.length; at = next[at]) words.push(characters.slice(at, next[at]).join(''));
    return words;
  };
  return { segment, total };
}

// entries: [word, raw explanation] pairs; lexicon: word -> { count }.
export function learnIdiomExamples(entries, lexicon) {
  const { segment, total } = lexiconSegmenter(lexicon);
  const words = new Map();
  const pairs = new Map();
  const contexts = new Map();
  const endings = new Map();
  const clauses = new Map();
  const starts = new Map();
  let tokens = 0;
  let startCount = 0;
  for (const [word, raw] of entries) {
    if (typeof raw !== 'string' || word.length === 0) continue;
    for (const sense of senseTexts(raw)) {
      const pieces = sense.split(SEPARATORS);
      for (const example of pieces.slice(1)) {
        const marked = example.replaceAll(word, '～');
        if (!marked.includes('～')) continue;
        increment(starts, marked.startsWith('～') ? '～' : segment(marked.split('～')[0])[0]);
        ++startCount;
      }
      // Definitions: senses without examples, quotations or the word itself.
      if (/[～ㄧ｜丨“”"《]/u.test(sense) || sense.includes(word)) continue;
      for (const sentence of sense.split('。').filter((s) => s.length > 0)) {
        const sequence = ['^', ...segment(sentence), '$'];
        sequence.forEach((w, i) => {
          increment(words, w);
          ++tokens;
          if (i > 0) {
            increment(pairs, `${sequence[i - 1]}\t${w}`);
            increment(contexts, sequence[i - 1]);
          }
        });
        increment(endings, sequence.at(-2));
        for (const clause of sentence.split(/[，、；]/u)) if ([...clause].length >= 2) increment(clauses, clause);
      }
    }
  }
  const vocabulary = words.size;
  // A word seen seldom or never ends a definition about as often as any word does.
  let endingCount = 0;
  for (const n of endings.values()) endingCount += n;
  const endingShare = endingCount / tokens;
  const inDefinitions = (w) => ((words.get(w) ?? 0) + 0.1) / (tokens + 0.1 * vocabulary);
  const afterInDefinitions = (previous, w) => {
    const seen = contexts.get(previous) ?? 0;
    return 0.6 * (seen ? (pairs.get(`${previous}\t${w}`) ?? 0) / seen : 0) + 0.4 * inDefinitions(w);
  };
  const everyday = (w) => {
    if (PUNCTUATION.test(w)) return inDefinitions(w);
    // Add one: a word the corpus hardly knows is rare, not impossible ("长驱直进").
    return ((lexicon.get(w)?.count ?? 0) + 1) / total;
  };
  // "这个人" or "人们" after a verb is its object ("表面上骂这个人", "想引起人们注意").
  const isSubject = (rest, before, last) => SUBJECTS.some((s) => rest.startsWith(s))
    && !NOT_SUBJECTS.some((s) => rest.startsWith(s)) && !BEFORE_OBJECT.test(before)
    && !(/^(?:[这那]|人们|大家)/u.test(rest) && lexicon.get(last)?.tag?.startsWith('v'))
    // Nor a one-character pronoun that makes a word with what comes before it ("对敌我双方").
    && !(SUBJECTS.find((s) => rest.startsWith(s)).length === 1 && lexicon.has(`${[...before].at(-1) ?? ''}${[...rest][0]}`));

  // Where the example starts in sentence, whose phrase stands at index
  // (code units): the start in code points, or null where it is unsure.
  function exampleStart(sentence, index, { minLead = MIN_LEAD } = {}) {
    const head = segment(sentence.slice(0, index));
    // A lone verb before the phrase takes it as its object ("实行能上能下，…"):
    // the sentence is the example from its first word on.
    if (head.length === 1 && [...head[0]].length >= 2 && /^v/u.test(lexicon.get(head[0])?.tag ?? '')) return 0;
    const scored = [];
    let likeness = 0;
    let previous = '^';
    let at = 0;
    let afterSubject = false;
    for (let j = 1; j <= head.length && !afterSubject; ++j) {
      const last = head[j - 1];
      likeness += Math.log(afterInDefinitions(previous, last)) - Math.log(everyday(last));
      previous = last;
      at += [...last].length;
      const next = head[j] ?? '～';
      const before = [...sentence].slice(0, at).join('');
      if (NO_START.test(next) || (PUNCTUATION.test(last) && last !== '）' && last !== '，') || !outsideMarks(before, before.length)) continue;
      const rest = head.slice(j).join('');
      const subject = isSubject(rest, before, last);
      afterSubject = subject;
      const lastClause = before.slice(Math.max(before.lastIndexOf('，'), before.lastIndexOf('、'), before.lastIndexOf('；')) + 1);
      const evidence = {
        definitionLikeness: likeness,
        endsDefinition: Math.log(((endings.get(last) ?? 0) + endingShare) / ((words.get(last) ?? 0) + 1)),
        startsExample: Math.log(((starts.get(next) ?? 0) + 0.5) / (startCount + 1))
          - Math.log(next === '～' ? PHRASE_BACKGROUND : everyday(next)),
        standingClause: Math.log(1 + (clauses.get(lastClause) ?? 0)),
        subject: subject ? 1 : 0,
      };
      scored.push({ at, score: Object.entries(evidence).reduce((sum, [name, value]) => sum + WEIGHTS[name] * value, 0) });
    }
    scored.sort((a, b) => b.score - a.score);
    if (scored.length === 0 || (scored.length > 1 && scored[0].score - scored[1].score < minLead)) return null;
    return scored[0].at;
  }
  return { exampleStart };
}

// The sentences of text, a stop inside a quotation or brackets ending none.
function sentencesOf(text) {
  const sentences = [];
  let current = '';
  for (const piece of text.match(/[^。！？]*(?:[。！？]+[”’]*|$)/gu).filter((s) => s.length > 0)) {
    current += piece;
    if (outsideMarks(current, current.length)) {
      sentences.push(current);
      current = '';
    }
  }
  return current ? [...sentences, current] : sentences;
}

function endWithStop(text) {
  return /[。！？…”’）]$/u.test(text) ? text : `${text}。`;
}

// Marks of the examples in the source: "～" stands for the phrase, "ㄧ" (now
// and then "丨" or "｜") stands between two examples.
const EXAMPLE_SEPARATOR = /\s*[ㄧ丨｜]\s*/u;
// What may follow the last example of a sense: another name or form.
const NOTE = /^(?:也说|也作|也叫|也称|又作|又说|也写作)/u;

// "～" written out, except in a range ("4～5厘米").
function spelledOut(text, phrase) {
  return text.replace(/～/gu, (tilde, at) => (/\d/u.test(text[at - 1] ?? '') && /\d/u.test(text[at + 1] ?? '') ? tilde : phrase));
}

// Verbs whose object is a clause: a pronoun after them is that clause's
// subject, inside the example they open ("看他那…", "希望你们…").
const TAKES_A_CLAUSE = /(?:看|听|见|望|希望|盼|让|叫|请|祝|说|问|想|觉得|认为|知道)$/u;

// Where the word senses' model is sure an example of phrase at index starts
// in sentence (a subject pronoun opens it), in code points, or null: only
// after a word that often ends definitions, as an example opens before its
// pronoun as well ("为了党的利益，他甘愿…").
function sureStart(model, sentence, index, phrase) {
  if (!model) return null;
  const at = [...sentence.slice(0, index)].length;
  const marked = `${sentence.slice(0, index)}～${sentence.slice(index + phrase.length)}`;
  const found = model.exampleStart(marked, at, phrase, { marked: false });
  const head = found.sure ? [...sentence].slice(0, found.start).join('') : '';
  return endsBeforeExample(model, head) ? found.start : null;
}

// Whether head, a definition before an example, ends on a word that the word
// senses' model (opening) sees ending definitions often and that is no verb
// whose object is a clause ("…决不松懈希望").
function endsBeforeExample(opening, head) {
  return Boolean(head) && opening.oftenEndsDefinition(head) && !TAKES_A_CLAUSE.test(head);
}

// A last clause left open: an object of 把, 使 or 令 still waiting for its
// verb ("把困难或祸害"), or a name still to come ("也称").
const OPEN_CLAUSE = /(?:[把使令][^，。；！？]*|[也又亦]称)$/u;

// Where the example of phrase at index starts in sentence, in code points,
// or null, where the idiom model's best start leads less than it must on its
// own: only where the definition ends before an example (endsBeforeExample)
// and leaves no clause open.
function startAfterEnding(model, opening, sentence, index) {
  if (!opening) return null;
  const start = model.exampleStart(sentence, index, { minLead: MIN_LEAD_AFTER_ENDING });
  const head = start ? [...sentence].slice(0, start).join('') : '';
  return endsBeforeExample(opening, head) && !OPEN_CLAUSE.test(head) ? start : null;
}

// The senses of a cleaned explanation (cleanExplanation without an example
// model: a sense a line, "～" and "ㄧ" as the source has them) without the
// examples of phrase they hold: { definition (senses joined with CR LF),
// examples (each ending its sentence), unsure (run-in examples left where
// they are) }. What follows the first "ㄧ" is examples, and a note after them;
// before it, and in a sense without one, an example is taken where it stands
// as a sentence of its own, or the model tells where it starts, or a
// classical quotation begins (isQuoted(clause): chinese-poetry holds it), or
// the idiom opens the example right after the definition, or a subject
// pronoun does (opening, the word senses' model of learnExampleBoundaries),
// or the model's start leads less clearly after a definition's end.
export function takeOutExamples(senses, phrase, model, { isQuoted = null, opening = null } = {}) {
  const definition = [];
  const examples = [];
  let unsure = 0;
  for (const sense of senses) {
    const [first, ...later] = sense.split(EXAMPLE_SEPARATOR).map((piece) => spelledOut(piece.trim(), phrase));
    let kept = '';
    let taken = later.length > 0;
    for (const sentence of sentencesOf(first)) {
      // A note after an example goes on a line of its own, as the source's "‖" had it.
      if (taken && NOTE.test(sentence)) {
        if (kept) definition.push(endWithStop(kept));
        kept = sentence;
        continue;
      }
      const found = bareIndex(sentence, phrase);
      const named = found >= 0 && (NAMED_AFTER.test(sentence.slice(0, found)) || DEFINED_AFTER.test(sentence.slice(found + phrase.length)));
      const index = named ? -1 : found;
      const start = index < 0 ? null : index === 0 ? 0 : model.exampleStart(sentence, index) ?? headedExampleStart(sentence, phrase)
        ?? (isQuoted ? quotedExampleStart(sentence, phrase, isQuoted) : null)
        ?? opening?.wordOpensExample(sentence, phrase) ?? sureStart(opening, sentence, index, phrase)
        ?? startAfterEnding(model, opening, sentence, index);
      // An example needs a definition before it, in this sentence or earlier.
      const head = start === null ? '' : [...sentence].slice(0, start).join('').replace(/[，、；\s]+$/u, '');
      if (start === null || (start === 0 && !kept && definition.length === 0)
        || (start > 0 && !/\p{Script=Han}.*\p{Script=Han}/u.test(head))) {
        if (index >= 0) ++unsure;
        kept += sentence;
        continue;
      }
      if (head) kept += endWithStop(head);
      examples.push(endWithStop([...sentence].slice(start).join('').trim()));
      taken = true;
    }
    const last = later.length > 0 ? sentencesOf(later.pop()) : [];
    const note = last.findIndex((s, i) => i > 0 && NOTE.test(s));
    later.push(...(note < 0 ? [last.join('')] : [last.slice(0, note).join('')]));
    examples.push(...later.filter((e) => e.length > 0).map(endWithStop));
    if (kept) definition.push(later.length > 0 ? endWithStop(kept) : kept);
    if (note >= 0) definition.push(last.slice(note).join(''));
  }
  return { definition: definition.join('\r\n'), examples, unsure };
}
