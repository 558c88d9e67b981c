// Where an idiom's own entry gives no Chinese explanation, the one found
// elsewhere in the explanations, and none where there is none.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { chineseFallback } from '../../../tools/chengyu/chinese-fallback.mjs';

const EXPLANATIONS = new Map([
  ['茶余饭后', '1.见"茶馀酒后"。'], ['茶余酒后', '1.指休息空闲的时刻。'],
  ['棋逢对手', '1.亦作"棋逢对手"。 \n2.犹言棋逢敌手。'], ['棋逢敌手', '1.比喻彼此本领不相上下。'],
  ['大动肝火', '1.大怒。'],
  ['期期艾艾', '《史┘恰ふ咆┫嗔写》载，周昌口吃，连说期期”◇用期期艾艾”形容说话结结巴巴。'],
  ['唉声叹气', '1.见"唉声叹气"。'], ['嗐声叹气', '1.犹言唉声叹气。因烦闷或伤感而叹息。'],
  ['高楼大厦', '1.见"高楼大厦"。'], ['高堂大厦', '指高耸的楼房。同高楼大厦”。'], ['层楹', '1.指高楼大厦。'],
  ['如饥似渴', '1.犹言如饥如渴。'],
  ['飞针走线', '1.见"飞针走缐"。'], ['一目了然', '1.见"一目了然"。'], ['一见了然', '1.犹一目了然。'],
]);
// 馀 and 余 share a traditional form, as do 缐 and 线.
const VARIANTS = new Map([['馀', '余'], ['余', '馀'], ['缐', '线'], ['线', '缐']]);
const spellingsOf = (word) => [word, [...word].map((c) => VARIANTS.get(c) ?? c).join('')];
const chineseOf = chineseFallback((w) => EXPLANATIONS.get(w), () => EXPLANATIONS.entries(), new Set(EXPLANATIONS.keys()),
  spellingsOf);

test('a Chinese explanation from elsewhere', async (t) => {
  const cases = [
    ['a pointer followed to the key of its other spelling', '茶余饭后', '同“茶余酒后”。指休息空闲的时刻。'],
    ['a pointer past one to the idiom itself', '棋逢对手', '犹言“棋逢敌手”。比喻彼此本领不相上下。'],
    ['a definition too short to stand alone', '大动肝火', '大怒。'],
    ['what follows the damaged origin', '期期艾艾', '后用“期期艾艾”形容说话结结巴巴。'],
    ['an entry that is roughly the idiom and defines itself', '唉声叹气', '犹言“嗐声叹气”。因烦闷或伤感而叹息。'],
    ['an equal ranks before a look-alike, a bare mention is no definition', '高楼大厦', '同“高堂大厦”。指高耸的楼房。'],
    ['a pointer to a word without an entry', '如饥似渴', '犹言“如饥如渴”。'],
    ['a pointer to a variant spelling of itself is none', '飞针走线', ''],
    ['pointers without a definition are none', '一目了然', ''],
  ];
  for (const [name, idiom, expected] of cases) {
    await t.test(name, () => assert.equal(chineseOf(idiom, EXPLANATIONS.get(idiom)), expected));
  }
});
