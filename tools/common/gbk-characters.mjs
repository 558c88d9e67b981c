// Every character the GBK two-byte area encodes, decoded once: what the
// index files and the window can show as two bytes.
export function gbkTwoByteCharacters() {
  const decoder = new TextDecoder('gbk', { fatal: true });
  const characters = new Set();
  for (let lead = 0x81; lead <= 0xfe; ++lead) {
    for (let trail = 0x40; trail <= 0xfe; ++trail) {
      if (trail === 0x7f) continue;
      try {
        const ch = decoder.decode(new Uint8Array([lead, trail]));
        if ([...ch].length === 1) characters.add(ch);
      } catch {
        // unassigned code
      }
    }
  }
  return characters;
}

// Whether the window can show text: ASCII and GBK two-byte characters only.
export function isGbkText(text, twoByteCharacters) {
  return [...text].every((c) => c < '\x80' || twoByteCharacters.has(c));
}
