// Examples of use taken out of an idiom's explanation: what moves, what
// stays, and where a run-in example starts.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { learnIdiomExamples, takeOutExamples } from '../../../tools/chengyu/idiom-examples.mjs';

// A model that puts the start where the test says, or is unsure.
const startAt = (start) => ({ exampleStart: () => start });

test('takeOutExamples', async (t) => {
  const cases = [
    ['what follows "ㄧ" is examples, "～" the idiom', '轰轰烈烈', ['形容声势浩大。ㄧ～地干ㄧ开展～的运动。'], startAt(null),
      '形容声势浩大。', ['轰轰烈烈地干。', '开展轰轰烈烈的运动。'], 0],
    ['a run-in example moves from its start, the idiom whole', '提心吊胆', ['形容十分担心、害怕他提心吊胆地走过独木桥。'],
      startAt(9), '形容十分担心、害怕。', ['他提心吊胆地走过独木桥。'], 0],
    ['an unsure start leaves the sentence where it is', '拨乱反正', ['治平世乱，恢复正常拨乱反正的决策。'], startAt(null),
      '治平世乱，恢复正常拨乱反正的决策。', [], 1],
    ['a note after the last example stays, on its own line', '家常便饭', ['比喻常有的事ㄧ熬夜是～。也说家常饭。'],
      startAt(null), '比喻常有的事。\r\n也说家常饭。', ['熬夜是家常便饭。'], 0],
    ['so after a run-in example', '家常便饭', ['比喻常有的事他熬夜是～。也说家常饭。'], startAt(6),
      '比喻常有的事。\r\n也说家常饭。', ['他熬夜是家常便饭。'], 0],
    ['"？！" ends one sentence', '同室操戈', ['比喻内部争斗同室操戈，相煎何急？！'], startAt(6), '比喻内部争斗。', ['同室操戈，相煎何急？！'], 0],
    ['the idiom quoted is no example', '守株待兔', ['后用“守株待兔”比喻死守经验。'], startAt(3), '后用“守株待兔”比喻死守经验。', [], 0],
    ['the idiom named by the definition is no example', '自我吹嘘', ['比喻自我吹嘘、夸张。'], startAt(2), '比喻自我吹嘘、夸张。', [], 0],
    ['nor is the idiom given as another form', '老鼠过街', ['比喻害人的东西，人人痛恨。亦作老鼠过街，人人喊打。'], startAt(2),
      '比喻害人的东西，人人痛恨。亦作老鼠过街，人人喊打。', [], 0],
    ['a sentence opening with the idiom after a definition is one', '惊天动地', ['形容声音响亮。惊天动地一声巨响。'],
      startAt(null), '形容声音响亮。', ['惊天动地一声巨响。'], 0],
    ['a stop inside a quotation ends no sentence', '谈何容易', ['本谓不可轻易。《盐铁论》“故曰：‘谈何容易。’谈且不易。”'],
      startAt(2), '本谓不可轻易。《盐铁论》“故曰：‘谈何容易。’谈且不易。”', [], 0],
    ['one character before the start is no definition', '涵养', ['很有涵养的人。'], startAt(1), '很有涵养的人。', [], 1],
    ['an unsure model still ends a definition on its head noun', '丢盔弃甲', ['形容作战时狼狈逃跑的样子打得敌军丢盔弃甲。'],
      startAt(null), '形容作战时狼狈逃跑的样子。', ['打得敌军丢盔弃甲。'], 0],
    ['the idiom defined in its own sentence is no example', '倒持手板', ['古代官员持手板以朝。倒持手板，指惊惶失态。'], startAt(0),
      '古代官员持手板以朝。倒持手板，指惊惶失态。', [], 0],
    ['a head that goes on is none', '露馅', ['比喻隐瞒的事物暴露出来谎言露馅了。'], startAt(null), '比喻隐瞒的事物暴露出来谎言露馅了。', [], 1],
  ];
  for (const [name, phrase, senses, model, definition, examples, unsure] of cases) {
    await t.test(name, () => assert.deepEqual(takeOutExamples(senses, phrase, model), { definition, examples, unsure }));
  }
});

test('takeOutExamples: a subject pronoun the word senses\' model is sure of', async (t) => {
  // Sure of the pronoun's start; definitions often end on 害怕 and 看 ("仔细看"), not on 希望.
  const opening = {
    wordOpensExample: () => null,
    exampleStart: (text) => ({ start: [...text].findIndex((c) => '他你'.includes(c)), sure: true }),
    oftenEndsDefinition: (head) => /(?:害怕|看)$/u.test(head),
  };
  const cases = [
    ['after a word that often ends definitions', '形容十分害怕他提心吊胆地走过。', '形容十分害怕。', ['他提心吊胆地走过。'], 0],
    ['not after one that seldom does', '继续奋斗，决不松懈希望你再接再厉。', '继续奋斗，决不松懈希望你再接再厉。', [], 1],
    ['nor after a verb whose object is a clause', '形容十分害怕看他提心吊胆地走过。', '形容十分害怕看他提心吊胆地走过。', [], 1],
  ];
  for (const [name, sense, definition, examples, unsure] of cases) {
    const phrase = sense.includes('再接再厉') ? '再接再厉' : '提心吊胆';
    await t.test(name, () => assert.deepEqual(takeOutExamples([sense], phrase, startAt(null), { opening }), { definition, examples, unsure }));
  }
});

test('takeOutExamples: a start the idiom model leads with by less, after a word that often ends definitions', async (t) => {
  // Sure at a lead of 2, not 2.5; definitions often end on 急迫 and 祸害, not on 战前.
  const leadingByTwo = (start) => ({ exampleStart: (s, i, { minLead = 2.5 } = {}) => (minLead <= 2 ? start : null) });
  const opening = { wordOpensExample: () => null, exampleStart: () => ({ start: null }), oftenEndsDefinition: (head) => /(?:急迫|祸害)$/u.test(head) };
  const cases = [
    ['after a word that often ends definitions', '从容不迫', '镇定自若，不急迫战前准备充分，战时就能从容不迫。', 8, '镇定自若，不急迫。'],
    ['not after one that seldom does', '从容不迫', '镇定自若，不急迫战前准备充分，战时就能从容不迫。', 10, null],
    ['nor where 把 still waits for its verb', '以邻为壑', '只顾自己的利益，把困难或祸害转嫁给别人以邻为壑。', 14, null],
  ];
  for (const [name, phrase, sense, start, definition] of cases) {
    const expected = definition ? { definition, examples: [[...sense].slice(start).join('')], unsure: 0 } : { definition: sense, examples: [], unsure: 1 };
    await t.test(name, () => assert.deepEqual(takeOutExamples([sense], phrase, leadingByTwo(start), { opening }), expected));
  }
});

test('exampleStart', async (t) => {
  const lexicon = new Map([['形容', 900], ['十分', 800], ['担心', 500], ['害怕', 600], ['他', 9000], ['走过', 300],
    ['独木桥', 20], ['提心吊胆', 30], ['敌我', 300], ['对敌', 450], ['恢复', 400], ['正常', 700], ['决策', 200]].map(([w, count]) => [w, { count }]));
  lexicon.set('实行', { count: 400, tag: 'v' });
  const model = learnIdiomExamples([['惊恐', '形容十分害怕。'], ['忧虑', '十分担心。'], ['胆怯', '形容害怕｜他～地走过']], lexicon);
  const cases = [
    ['a subject pronoun opens the example', '形容十分担心、害怕他提心吊胆地走过独木桥。', '提心吊胆', 9],
    ['nothing tells the start: unsure', '恢复正常决策提心吊胆。', '提心吊胆', null],
    ['a pronoun inside a word opens nothing', '形容十分担心对敌我提心吊胆。', '提心吊胆', null],
    ['a lone verb before the phrase belongs to the example', '实行提心吊胆，是一项改革。', '提心吊胆', 0],
  ];
  for (const [name, sentence, phrase, expected] of cases) {
    await t.test(name, () => assert.equal(model.exampleStart(sentence, sentence.indexOf(phrase)), expected));
  }
});
