// npm chinese-poetry's classical verse and prose (fetched by
// tools/setup/fetch-chinese-poetry.sh): the idioms cite its lines, and the
// word explanations' quotations are told apart from their definitions by it.
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';

// The collections read, oldest first, with their dynasty, how a work is named
// and whether the text is in traditional characters. An anthology of prose
// from many dynasties serves to recognise quotations, not to cite: its pieces
// name no dynasty the citation could give.
const COLLECTIONS = [
  { folder: 'shijing', files: /^shijing\.json$/u, dynasty: '先秦', work: '诗经' },
  { folder: 'lunyu', files: /^lunyu\.json$/u, dynasty: '春秋', work: '论语' },
  { folder: 'sishuwujing', files: /^daxue\.json$/u, dynasty: '先秦', work: '大学', traditional: true },
  { folder: 'sishuwujing', files: /^zhongyong\.json$/u, dynasty: '先秦', work: '中庸', traditional: true },
  { folder: 'sishuwujing', files: /^mengzi\.json$/u, dynasty: '先秦', work: '孟子', traditional: true },
  { folder: 'chuci', files: /^chuci\.json$/u, dynasty: '先秦', work: '楚辞' },
  { folder: 'caocaoshiji', files: /^caocao\.json$/u, dynasty: '汉', author: '曹操' },
  { folder: 'quantangshi', files: /^poet\.tang\.\d+\.json$/u, dynasty: '唐', traditional: true },
  { folder: 'wudaishici/huajianji', files: /^huajianji-\d+-juan\.json$/u, dynasty: '五代' },
  { folder: 'wudaishici/nantang', files: /^poetrys\.json$/u, dynasty: '五代', work: '南唐二主词' },
  { folder: 'quantangshi', files: /^poet\.song\.\d+\.json$/u, dynasty: '宋', traditional: true },
  { folder: 'songci', files: /^ci\.song\.\d+\.json$/u, dynasty: '宋' },
  { folder: 'yuanqu', files: /^yuanqu\.json$/u, dynasty: '元' },
  { folder: 'mengxue', files: /^guwenguanzhi\.json$/u, work: '古文观止', traditional: true, quotationsOnly: true },
];
export const POETRY_FOLDERS = [...new Set(COLLECTIONS.map((c) => c.folder))];

export const CLAUSE_BREAK = /[，。；：！？、「」『』“”‘’（）()\s]/u;

// Every line of the collections under folder: { text, author, work, dynasty,
// traditional, quotationsOnly }, in file name order.
export function readPoetry(folder) {
  const lines = [];
  const walk = (node, context) => {
    if (Array.isArray(node)) {
      for (const item of node) walk(item, context);
      return;
    }
    if (!node || typeof node !== 'object') return;
    const title = node.title ?? node.rhythmic ?? node.chapter;
    const here = {
      ...context,
      author: typeof node.author === 'string' ? node.author : context.author,
      title: typeof title === 'string' ? title : context.title,
    };
    for (const key of ['paragraphs', 'content']) {
      const value = node[key];
      if (Array.isArray(value) && value.every((v) => typeof v === 'string')) {
        for (const text of value) lines.push({ text, ...here });
      } else if (value && typeof value === 'object') {
        walk(value, here);
      }
    }
  };
  for (const collection of COLLECTIONS) {
    const dir = path.join(folder, collection.folder);
    for (const name of fs.readdirSync(dir).filter((n) => collection.files.test(n)).sort()) {
      walk(JSON.parse(fs.readFileSync(path.join(dir, name), 'utf8')), {
        dynasty: collection.dynasty ?? '', traditional: Boolean(collection.traditional), collection: collection.work,
        quotationsOnly: Boolean(collection.quotationsOnly),
        author: collection.author ?? '', title: '',
      });
    }
  }
  return lines;
}

// Texts in traditional characters, simplified by OpenCC's t2s in one run.
export function simplifyAll(texts) {
  const simplified = execFileSync('opencc', ['-c', 't2s.json'], {
    input: texts.map((t) => t.replace(/\n/gu, ' ')).join('\n'), encoding: 'utf8', maxBuffer: 1 << 30,
  }).split('\n');
  if (simplified.length < texts.length) throw new Error('opencc returned fewer lines than it was given');
  return simplified;
}

// text -> text with each character of the traditional lines simplified on its
// own (one short OpenCC run, where simplifying every line takes over a
// minute): a match between two folded texts is a match between their
// simplified forms, near enough to pick the lines worth simplifying whole.
export function characterFolding(traditional, simplify) {
  const characters = new Set();
  for (const line of traditional) for (const c of line.text) characters.add(c);
  const listed = [...characters];
  const simplified = simplify(listed);
  const single = new Map(listed.map((c, i) => [c, simplified[i]]).filter(([c, s]) => [...s].length === 1 && s !== c));
  return (text) => [...text].map((c) => single.get(c) ?? c).join('');
}

// Clauses shorter than this are common words as often as quotations.
const MIN_QUOTED_CLAUSE = 4;

// Whether a clause, simplified, is word for word a clause of a line of the
// collections ("夜阑更秉烛"), or two clauses of one run together as quotations
// often write them ("别是一般滋味在心头" for "别是一般滋味，在心头"): folded
// clauses of the lines, looked up folded.
export function quotedClauses(lines, simplify) {
  const fold = characterFolding(lines.filter((l) => l.traditional), simplify);
  const clauses = new Set();
  for (const line of lines) {
    const parts = fold(line.text).split(CLAUSE_BREAK);
    parts.forEach((clause, i) => {
      if ([...clause].length >= MIN_QUOTED_CLAUSE) clauses.add(clause);
      if (i > 0 && parts[i - 1] && clause) clauses.add(parts[i - 1] + clause);
    });
  }
  return (clause) => [...clause].length >= MIN_QUOTED_CLAUSE && clauses.has(fold(clause));
}
