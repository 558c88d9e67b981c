// cnchar-data's explanation/*.json: one file per first character, each an
// object of word -> explanation.
import fs from 'node:fs';
import path from 'node:path';

// The folder read in file name order, so that whatever is learnt from it does
// not depend on the order the folder lists its files in.
export function readExplanationFolder(folder) {
  const byFirstCharacter = new Map();
  for (const name of fs.readdirSync(folder).filter((n) => n.endsWith('.json')).sort()) {
    byFirstCharacter.set(name.slice(0, -'.json'.length), JSON.parse(fs.readFileSync(path.join(folder, name), 'utf8')));
  }
  return {
    // The explanation in the file of the word's first character, or undefined.
    of(word) {
      const entry = byFirstCharacter.get([...word][0])?.[word];
      return typeof entry === 'string' ? entry : undefined;
    },
    // Every [word, explanation] pair, file by file.
    * entries() {
      for (const file of byFirstCharacter.values()) yield* Object.entries(file);
    },
  };
}
