// Which classical lines serve as an idiom's example: the idiom standing as a
// unit of the line, the oldest such line, never a chance meeting of words.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { findCitations } from '../../../tools/chengyu/classical-citations.mjs';
import { quotedClauses } from '../../../tools/common/chinese-poetry.mjs';

const line = (text, more = {}) => ({ text, author: '杜牧', title: '题乌江亭', dynasty: '唐', traditional: false, ...more });
// Stands in for OpenCC: the one traditional character the cases use.
const simplify = (texts) => texts.map((t) => t.replaceAll('來', '来'));

test('findCitations', async (t) => {
  const cases = [
    ['the first two feet of a seven-character verse', [line('江东子弟多才俊，卷土重来未可知。')],
      '唐·杜牧《题乌江亭》：“江东子弟多才俊，卷土重来未可知。”'],
    ['a traditional line is matched and shown simplified', [line('卷土重來未可知，江东子弟多才俊。', { traditional: true })],
      '唐·杜牧《题乌江亭》：“卷土重来未可知，江东子弟多才俊。”'],
    ['across the feet of a verse it is chance', [line('春风卷土重来时。'), line('重游卷土重来早。')], ''],
    ['the oldest line first, its collection named', [line('卷土重来，其势不可当也。', { dynasty: '先秦', author: '', title: '梁惠王上', collection: '孟子' }),
      line('卷土重来未可知，江东子弟多才俊。')], '先秦《孟子·梁惠王上》：“卷土重来，其势不可当也。”'],
    ['the idiom alone says nothing of its use', [line('卷土重来。')], ''],
    ['a coarse line is left out', [line('卷土重来骂贱人，江东子弟多才俊。')], ''],
  ];
  for (const [name, lines, expected] of cases) {
    await t.test(name, () => assert.equal(findCitations(lines, ['卷土重来'], simplify).get('卷土重来') ?? '', expected));
  }
});

// OpenCC simplifies 乾 alone to 干 but keeps it in 乾坤: the line must still be found.
test('findCitations finds a character that OpenCC simplifies alone but not in its phrase', () => {
  const phrases = (t) => t.replaceAll('轉', '转').replaceAll('時', '时').replaceAll('東', '东');
  const opencc = (texts) => texts.map((t) => ([...t].length === 1 ? phrases(t).replace('乾', '干') : phrases(t)));
  const lines = [line('扭轉乾坤在此時，江東子弟多才俊。', { traditional: true })];
  assert.equal(findCitations(lines, ['扭转乾坤'], opencc).get('扭转乾坤'), '唐·杜牧《题乌江亭》：“扭转乾坤在此时，江东子弟多才俊。”');
});

test('quotedClauses: a clause of a line, or two run together, found simplified', async (t) => {
  const isQuoted = quotedClauses([line('別是一般滋味，在心頭。', { traditional: true }), line('夜阑更秉烛，相对如梦寐。')],
    (texts) => texts.map((c) => ({ 別: '别', 頭: '头' })[c] ?? c));
  const cases = [
    ['a clause of a simplified line', '夜阑更秉烛', true],
    ['a traditional line, simplified', '别是一般滋味', true],
    ['two clauses without their comma', '别是一般滋味在心头', true],
    ['the end of one line and the start of the next', '如梦寐别是', false],
    ['part of a clause', '一般滋味', false],
  ];
  for (const [name, clause, expected] of cases) await t.test(name, () => assert.equal(isQuoted(clause), expected));
});
