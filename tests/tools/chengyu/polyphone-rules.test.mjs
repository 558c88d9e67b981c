// The polyphone rules on pinyin-pro's readings: every reading the idiom list
// corrected before stays right, the examples of wrong readings come right,
// and a rule leaves the other sense of its character alone.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { test } from 'node:test';

import { applyPolyphoneRules } from '../../../tools/chengyu/polyphone-rules.mjs';

const { pinyin } = createRequire(import.meta.url)('../../../node_modules/pinyin-pro');

function reading(idiom) {
  const spoken = pinyin(idiom, { toneSandhi: false, nonZh: 'removed' }).trim().split(/\s+/u);
  return applyPolyphoneRules(idiom, spoken).syllables.join(' ');
}

const CASES = {
    'corrected before': [
    '朝三暮四|zhāo sān mù sì', '暮四朝三|mù sì zhāo sān', '朝秦暮楚|zhāo qín mù chǔ', '朝令夕改|zhāo lìng xī gǎi',
    '朝思暮想|zhāo sī mù xiǎng', '朝不保夕|zhāo bù bǎo xī', '朝不虑夕|zhāo bù lǜ xī', '朝生暮死|zhāo shēng mù sǐ',
    '朝乾夕惕|zhāo qián xī tì', '朝过夕改|zhāo guò xī gǎi', '朝闻夕改|zhāo wén xī gǎi', '花朝月夕|huā zhāo yuè xī',
    '灭此朝食|miè cǐ zhāo shí', '一朝一夕|yī zhāo yī xī', '有朝一日|yǒu zhāo yī rì', '一暴十寒|yī pù shí hán',
    '数见不鲜|shuò jiàn bù xiān', '呱呱坠地|gū gū zhuì dì', '呱呱堕地|gū gū duò dì', '一丘之貉|yī qiū zhī hé',
    '便宜行事|biàn yí xíng shì', '一哄而散|yī hòng ér sàn', '一哄而起|yī hòng ér qǐ', '养虎为患|yǎng hǔ wéi huàn',
    '不足为虑|bù zú wéi lǜ', '融为一体|róng wéi yī tǐ', '一言为定|yī yán wéi dìng', '混为一谈|hùn wéi yī tán',
    '走为上计|zǒu wéi shàng jì', '一吐为快|yī tǔ wéi kuài', '偶一为之|ǒu yī wéi zhī', '难乎为继|nán hū wéi jì',
    '画地为狱|huà dì wéi yù', '斗转星移|dǒu zhuǎn xīng yí', '星移斗转|xīng yí dǒu zhuǎn', '气冲牛斗|qì chōng niú dǒu',
    '日进斗金|rì jìn dǒu jīn', '泰山北斗|tài shān běi dǒu', '车载斗量|chē zài dǒu liáng', '南箕北斗|nán jī běi dǒu',
    '只鸡斗酒|zhī jī dǒu jiǔ', '斗酒只鸡|dǒu jiǔ zhī jī', '步罡踏斗|bù gāng tà dǒu', '倒行逆施|dào xíng nì shī',
    '倒背如流|dào bèi rú liú', '倒打一耙|dào dǎ yī pá', '倒持泰阿|dào chí tài ē', '常年累月|cháng nián lěi yuè',
    '整年累月|zhěng nián lěi yuè', '成千累万|chéng qiān lěi wàn', '积金累玉|jī jīn lěi yù',
    '长篇累牍|cháng piān lěi dú', '舍己救人|shě jǐ jiù rén', '舍本逐末|shě běn zhú mò', '舍生忘死|shě shēng wàng sǐ',
    '舍生取义|shě shēng qǔ yì', '神不守舍|shén bù shǒu shè', '三瓦两舍|sān wǎ liǎng shè', '刚正不阿|gāng zhèng bù ē',
    '守正不阿|shǒu zhèng bù ē', '阿其所好|ē qí suǒ hào', '好奇尚异|hào qí shàng yì', '强颜欢笑|qiǎng yán huān xiào',
    '强人所难|qiǎng rén suǒ nán', '当耳边风|dàng ěr biān fēng', '当耳旁风|dàng ěr páng fēng',
    '无孔不钻|wú kǒng bù zuān', '钻坚仰高|zuān jiān yǎng gāo', '钻故纸堆|zuān gù zhǐ duī', '心细如发|xīn xì rú fà',
    '千钧一发|qiān jūn yī fà', '披头散发|pī tóu sàn fà', '被发文身|pī fà wén shēn', '臭味相投|chòu wèi xiāng tóu',
    '多钱善贾|duō qián shàn gǔ', '富商巨贾|fù shāng jù gǔ', '豪商巨贾|háo shāng jù gǔ', '各行其是|gè xíng qí shì',
    '祸不单行|huò bù dān xíng', '一言一行|yī yán yī xíng', '替天行道|tì tiān xíng dào', '破镜重圆|pò jìng chóng yuán',
    '重起炉灶|chóng qǐ lú zào', '闭门塞窦|bì mén sè dòu', '载舟覆舟|zài zhōu fù zhōu', '喷薄欲出|pēn bó yù chū',
    '轻嘴薄舌|qīng zuǐ bó shé', '轻口薄舌|qīng kǒu bó shé', '虚与委蛇|xū yǔ wēi yí', '乍暖还寒|zhà nuǎn huán hán',
    '明窗净几|míng chuāng jìng jī', '辗转反侧|zhǎn zhuǎn fǎn cè', '生吞活剥|shēng tūn huó bō',
    '抽丝剥茧|chōu sī bō jiǎn', '意兴索然|yì xìng suǒ rán', '昏定晨省|hūn dìng chén xǐng', '将伯之助|qiāng bó zhī zhù',
    '雪泥鸿爪|xuě ní hóng zhǎo', '宁缺勿滥|nìng quē wù làn', '一应俱全|yī yīng jù quán', '卷土重来|juǎn tǔ chóng lái',
    '收旗卷伞|shōu qí juǎn sǎn', '埋天怨地|mán tiān yuàn dì', '豁然开朗|huò rán kāi lǎng', '气焰嚣张|qì yàn xiāo zhāng',
    '甚嚣尘上|shèn xiāo chén shàng', '靡靡之音|mǐ mǐ zhī yīn', '弹尽援绝|dàn jìn yuán jué', '心广体胖|xīn guǎng tǐ pán',
    '翘足而待|qiáo zú ér dài', '漏脯充饥|lòu fǔ chōng jī', '洗手不干|xǐ shǒu bù gàn', '不揣冒昧|bù chuǎi mào mèi',
    '五行八作|wǔ háng bā zuō', '人给家足|rén jǐ jiā zú', '一语破的|yī yǔ pò dì', '众星攒月|zhòng xīng cuán yuè',
    '急人之难|jí rén zhī nàn', '挨冻受饿|ái dòng shòu è', '金匮石室|jīn guì shí shì', '礼坏乐崩|lǐ huài yuè bēng',
    '更深人静|gēng shēn rén jìng', '参差错落|cēn cī cuò luò', '含商咀徵|hán shāng jǔ zhǐ', '含宫咀徵|hán gōng jǔ zhǐ',
    '恶语中伤|è yǔ zhòng shāng', '泥古不化|nì gǔ bù huà', '不足齿数|bù zú chǐ shǔ', '疾风劲草|jí fēng jìng cǎo',
    '清风劲节|qīng fēng jìng jié',
    '人生朝露|rén shēng zhāo lù', '老调重弹|lǎo diào chóng tán', '没齿难忘|mò chǐ nán wàng',
    '敷衍塞责|fū yǎn sè zé', '怨声载道|yuàn shēng zài dào', '本末倒置|běn mò dào zhì', '危如累卵|wēi rú lěi luǎn',
    '信而好古|xìn ér hào gǔ', '被发左衽|pī fà zuǒ rèn', '独辟蹊径|dú pì xī jìng', '直截了当|zhí jié liǎo dàng',
    '贪生恶死|tān shēng wù sǐ',
  ],
    'wrong before': [
    '北斗之尊|běi dǒu zhī zūn', '阿党比周|ē dǎng bǐ zhōu', '否极阳回|pǐ jí yáng huí', '参横斗转|shēn héng dǒu zhuǎn',
    '朝云暮雨|zhāo yún mù yǔ', '对簿公堂|duì bù gōng táng', '多行不义必自毙|duō xíng bù yì bì zì bì',
    '吃一堑，长一智|chī yī qiàn zhǎng yī zhì', '断发文身|duàn fà wén shēn', '暴衣露盖|pù yī lù gài',
    '更深夜静|gēng shēn yè jìng', '变危为安|biàn wēi wéi ān', '公子哥儿|gōng zǐ gē er', '看人下菜碟儿|kàn rén xià cài dié er',
    '半间不界|bàn gān bù gà', '巴巴结结|bā bā jiē jiē',
  ],
    'read by what the character does in the phrase': [
    '五方杂处|wǔ fāng zá chǔ', '出处殊涂|chū chǔ shū tú', '无地自处|wú dì zì chǔ', '燕雀处堂|yàn què chǔ táng',
    '手足异处|shǒu zú yì chù', '无下箸处|wú xià zhù chù', '云泥之差|yún ní zhī chā', '分毫不差|fēn háo bù chā',
    '三差五错|sān chā wǔ cuò', '神使鬼差|shén shǐ guǐ chāi', '栉比鳞差|zhì bǐ lín cī', '量才器使|liàng cái qì shǐ',
    '量入计出|liàng rù jì chū', '量力度德|liàng lì duó dé', '揆时度势|kuí shí duó shì',
    '以己之心，度人之腹|yǐ jǐ zhī xīn duó rén zhī fù', '说短道长|shuō duǎn dào cháng', '此风不可长|cǐ fēng bù kě zhǎng',
    '春生夏长，秋收冬藏|chūn shēng xià zhǎng qiū shōu dōng cáng', '莺飞草长|yīng fēi cǎo zhǎng',
    '摸不着头脑|mō bù zháo tóu nǎo', '吃着不尽|chī zhuó bù jìn', '棋高一着|qí gāo yī zhāo', '着书立说|zhù shū lì shuō',
    '远涉重洋|yuǎn shè chóng yáng', '山重水复|shān chóng shuǐ fù', '重床叠屋|chóng chuáng dié wū',
    '食不重味|shí bù chóng wèi', '言重九鼎|yán zhòng jiǔ dǐng', '质疑问难|zhì yí wèn nàn', '国难当头|guó nàn dāng tóu',
    '临难不惧|lín nàn bù jù', '三灾六难|sān zāi liù nàn', '材大难用|cái dà nán yòng', '轻财好义|qīng cái hào yì',
    '上好下甚|shàng hào xià shèn', '束身自好|shù shēn zì hào', '将遇良材|jiàng yù liáng cái', '日中将昃|rì zhōng jiāng zè',
    '数短论长|shǔ duǎn lùn cháng', '更难仆数|gèng nán pú shǔ', '强识博闻|qiáng zhì bó wén', '默而识之|mò ér zhì zhī',
    '材优干济|cái yōu gàn jì', '手脚干净|shǒu jiǎo gān jìng', '扭转干坤|niǔ zhuǎn qián kūn', '适当其时|shì dāng qí shí',
    '出差|chū chāi', '处乱不惊|chǔ luàn bù jīng', '受难|shòu nàn', '重霄|chóng xiāo',
  ],
    'the other sense kept': [
    '朝野上下|cháo yě shàng xià', '一朝天子一朝臣|yī cháo tiān zǐ yī cháo chén', '转斗千里|zhuǎn dòu qiān lǐ',
    '心花怒发|xīn huā nù fā', '为虎作伥|wèi hǔ zuò chāng', '家长里短|jiā cháng lǐ duǎn', '千载难逢|qiān zǎi nán féng',
    '差强人意|chā qiáng rén yì', '弱肉强食|ruò ròu qiáng shí', '任重至远|rèn zhòng zhì yuǎn',
    '恰到好处|qià dào hǎo chù', '身首异处|shēn shǒu yì chù', '鬼使神差|guǐ shǐ shén chāi', '唱筹量沙|chàng chóu liáng shā',
    '金针度人|jīn zhēn dù rén', '丰草长林|fēng cǎo cháng lín', '含着骨头露着肉|hán zhe gǔ tou lù zhe ròu',
    '不着边际|bù zhuó biān jì', '铜盘重肉|tóng pán zhòng ròu', '恩威并重|ēn wēi bìng zhòng', '有国难投|yǒu guó nán tóu',
    '在劫难逃|zài jié nán táo', '秦晋之好|qín jìn zhī hǎo', '将计就计|jiāng jì jiù jì', '一目数行|yī mù shù háng',
    '老马识途|lǎo mǎ shí tú', '外强中干|wài qiáng zhōng gān', '精明强干|jīng míng qiáng gàn',
    '黄口小儿|huáng kǒu xiǎo ér',
  ],
};

for (const [group, cases] of Object.entries(CASES)) {
  test(group, async (t) => {
    for (const [idiom, expected] of cases.map((c) => c.split('|'))) {
      await t.test(idiom, () => assert.equal(reading(idiom), expected));
    }
  });
}
