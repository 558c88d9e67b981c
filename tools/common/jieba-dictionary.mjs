// jieba's dictionary (Debian python3-jieba, dict.txt): one "word count tag"
// a line, the count taken from a large corpus, the tag a part of speech
// ("i" an idiom).
import fs from 'node:fs';

export const JIEBA_DICTIONARY = '/usr/lib/python3/dist-packages/jieba/dict.txt';

// word -> { count, tag }
export function readJiebaDictionary(file = JIEBA_DICTIONARY) {
  if (!fs.existsSync(file)) throw new Error(`${file} is missing (Debian package python3-jieba)`);
  const words = new Map();
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const [word, count, tag] = line.trim().split(' ');
    if (word && Number.isFinite(Number(count))) words.set(word, { count: Number(count), tag: tag ?? '' });
  }
  return words;
}
