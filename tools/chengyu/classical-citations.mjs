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
import fs from 'node:fs';
import path from 'node:path';

// The collections read, oldest first, with their dynasty, how a work is named
// and whether the text is in traditional characters.
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
  { folder: 'quantangshi', files: /^poet\.song\.\d+\.json$/u, dynasty: '宋', traditional: true },
  { folder: 'songci', files: /^ci\.song\.\d+\.json$/u, dynasty: '宋' },
  { folder: 'yuanqu', files: /^yuanqu\.json$/u, dynasty: '元' },
];
export const POETRY_FOLDERS = [...new Set(COLLECTIONS.map((c) => c.folder))];

const CLAUSE_BREAK = /[，。；：！？、「」『』“”‘’（）()\s]/u;
const SENTENCE = /[^。！？]*[。！？]?/gu;
const VERSE = 7;
// A line must say this many characters besides the idiom.
const MIN_CONTEXT = 4;
const COARSE = /短命|泼贱|贱人|畜生|禽兽|王八|杀才|该死|淫|娼|嫖|屎|尿|屁|骚/u;
// Stage directions of the plays: （正旦唱）.
const STAGE_DIRECTION = /[（(][^（）()]*[）)]/gu;
// An editor's note in place of a line: "）（〖1〗《江南野史》…「…".
const NOTE = /[〖〗「」【】]/u;

// Every line of the collections under folder: { text, author, work, dynasty,
// traditional }, in file name order.
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
        dynasty: collection.dynasty, traditional: Boolean(collection.traditional), collection: collection.work,
        author: collection.author ?? '', title: '',
      });
    }
  }
  return lines;
}

// Whether the idiom at index of a clause of length characters stands as a unit.
function standsAsUnit(index, idiomLength, length) {
  if (length === idiomLength) return true;
  if (length === VERSE) return index === 0 && idiomLength === 4;
  return length > VERSE && (index === 0 || index + idiomLength === length);
}

// lines: readPoetry's; idioms: the idioms wanted, most frequent first;
// simplify: texts -> their simplified forms, in one call (the traditional
// lines are matched and shown simplified). Returns idiom -> citation text,
// from the oldest line that qualifies.
export function findCitations(lines, idioms, simplify) {
  const wanted = new Set(idioms);
  const lengths = [...new Set(idioms.map((i) => [...i].length))];
  const traditional = lines.filter((l) => l.traditional);
  const simplified = simplify(traditional.map((l) => `${l.text}\u0001${l.author}\u0001${l.title}`));
  traditional.forEach((line, i) => {
    const [text, author, title] = simplified[i].split('\u0001');
    Object.assign(line, { text, author, title });
  });
  const found = new Map();
  for (const line of lines) {
    const text = line.text.replace(STAGE_DIRECTION, '');
    if (COARSE.test(text) || NOTE.test(text)) continue;
    for (const sentence of text.match(SENTENCE).filter((s) => s.trim().length > 0)) {
      for (const clause of sentence.split(CLAUSE_BREAK)) {
        const characters = [...clause];
        for (const length of lengths) {
          for (let at = 0; at + length <= characters.length; ++at) {
            const idiom = characters.slice(at, at + length).join('');
            if (!wanted.has(idiom) || found.has(idiom) || !standsAsUnit(at, length, characters.length)) continue;
            if ([...sentence.replace(/[^\p{Script=Han}]/gu, '')].length < length + MIN_CONTEXT) continue;
            found.set(idiom, citation(line, sentence.trim()));
          }
        }
      }
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
