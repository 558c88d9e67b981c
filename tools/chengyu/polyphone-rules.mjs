// Readings of polyphones that depend on the phrase around them, where
// pinyin-pro (toneSandhi: false) reads an idiom's character in its everyday
// sense: 朝 zhāo "morning" against an evening, 斗 dǒu "the Dipper" or the
// measure, 发 fà "hair", 为 wéi "be, become", 长 zhǎng "grow". Each rule
// names a character, its reading and the phrases in which it has it; "…"
// in a phrase stands for any characters of the idiom between, and a phrase
// that is the character alone is the reading idioms use wherever no longer
// phrase says otherwise. Where several phrases match, the longest wins.
// Every rule was checked against the idioms it changes (extract-idioms.mjs
// --readings-report lists them).
const RULES = [
  // 朝 zhāo: the morning, set against the evening or on its own.
  ['朝', 'zhāo', '朝…暮 暮…朝 朝…夕 夕…朝 朝…夜 夜…朝 朝朝 朝露 朝气 朝菌 朝食 一朝 今朝 有朝 花朝 终朝 三朝五日'],
  ['朝', 'cháo', '一朝天子 一朝臣'],
  // 为 wéi "do, be, become, take as" in idioms, wèi "for, because of" only in these.
  ['为', 'wéi', '为'],
  ['为', 'wèi', '为国 为国为民 为民请命 为民除害 为人作嫁 为人说项 为虎 为渊驱 为丛驱 为蛇添足 为蛇画足 为五斗米 '
    + '各为其主 官官相为 阿党相为 人不为己 人为财 鸟为食 士为知己 只为 为小失大 为外人道 舍己为 父为子 子为父 为何 为什么'],
  ['为', 'wéi', '礼让为国'],
  // 斗 dǒu: the Dipper, the stars, the measure.
  ['斗', 'dǒu', '北斗 斗转 运斗 星斗 山斗 牛斗 斗牛 拜斗 戴斗 换斗 踏斗 步斗 斗酒 斗量 斗筲 斗米 斗粟 斗食 斗储 '
    + '斗金 斗升 斗水 平斗 斗满 斗挹 挹斗 掊斗 斗南 斗方 斗绝 斗折 刁斗 贯斗 如斗 八斗 五斗'],
  // 倒 dào: upside down, backwards, pouring out.
  ['倒', 'dào', '倒置 倒悬 倒行 倒背 倒打 倒持 倒因 倒载 倒裳 倒屣 倒施 倒易 倒竖 倒泻 倒执 倒戢 倒绷 倒算 倒拽 '
    + '倒扯 倒峡 倾…倒 倒…倾'],
  // 累 lěi "pile up, repeated" in idioms; lèi "burden", léi "strings".
  ['累', 'lěi', '累'],
  ['累', 'lèi', '之累 忘累 累形'],
  ['累', 'léi', '印累 累累如珠'],
  // 阿 ē "flatter, bend", and the sword 泰阿.
  ['阿', 'ē', '阿党 阿谀 阿其 阿时 阿世 阿意 阿附 阿私 不阿 依阿 太阿 泰阿'],
  // 载 zài "carry, fill"; zǎi stays for years.
  ['载', 'zài', '载道 载舟 载歌 载欢 载驰 载驱 载笑 载沉 载酒 载福 载物 载途 满载 车载 载一抱素 倒载 地载 载戢 载韡 '
    + '载赦 载怀 以载'],
  ['将', 'jiàng', '将兵 一将 六将 拜将 杀将 斩将 取将 调将 遣将 折将 激将 请将 将挡 将敌 将迎 大将 将身 猛将 武将 '
    + '强将 将相 将门'],
  ['将', 'qiāng', '将伯'],
  ['当', 'dàng', '当耳 步当车 当哭 当肉 当活马 了当 百当 千当 万当 八当 当招 无当 失当 举措不当 上当 至当 过当 贵当 '
    + '曲当 的当'],
  ['了', 'liǎo', '了当 一了百 千了 百了 七了'],
  ['行', 'xíng', '多行 各行 单行 天行道 一言一行'],
  ['行', 'háng', '当行 内行 外行 行家 行伍 五行八作 数行'],
  ['作', 'zuō', '五行八作'],
  // 发 fà: hair.
  ['发', 'fà', '白发 鹤发 黄发 发肤 握发 结发 束发 断发 剪发 翦发 削发 披发 被发 祝发 须发 毛发 毫发 发指 怒发冲 冠怒发 '
    + '发短 容发 一发 如发 于发 发引 发…冠 冠…发 发竖 发秃 发秀 散发 戴发 艾发 翠发 绿发 皓发 燎发 截发 捉发 '
    + '辨发 丝发 生发 解发 苍颜白发'],
  ['发', 'fā', '一发破的 发冢'],
  ['被', 'pī', '被发'],
  ['只', 'zhǐ', '只欠 只可 只争 只知 只见 只许 只要 只怕 只听 只重 只此 只为'],
  ['相', 'xiàng', '天相 貌相 露相'],
  ['露', 'lòu', '露相 露马脚'],
  ['鲜', 'xiǎn', '鲜克 鲜有 鲜为 鲜见 廉鲜'],
  // 靡 mǐ "fall, none" in idioms; mí "lavish" only in these.
  ['靡', 'mǐ', '靡'],
  ['靡', 'mí', '靡衣 靡颜'],
  ['斗', 'dòu', '斗靡'],
  ['舍', 'shě', '舍本 舍己 舍生 舍死 舍近 舍旧 舍短 舍身 舍策 舍我 舍牛 不舍 难舍 舍得 用舍 舍藏'],
  ['舍', 'shè', '守舍 收舍 三舍 两舍 劫舍 截舍 瓦舍 茅舍 问舍 右舍 西舍 四舍 亲舍 作舍 筑舍 蜗舍 越舍 焚舍 十舍 百舍'],
  ['塞', 'sè', '塞责 闭塞 塞窦 茅塞 塞源 塞原 塞听 塞聪 塞明 塞违 否塞 月塞'],
  ['塞', 'sài', '塞翁 塞北 塞上 险塞 黑塞'],
  ['见', 'xiàn', '层见 叠见 迭见 匕见 首见 龙见 情见'],
  ['贾', 'gǔ', '善贾 巨贾 商贾 大贾 富贾 蓄贾 良贾 可贾 北贾 贾石 贾祸'],
  ['劲', 'jìng', '劲草 劲节 劲弩 劲柏 劲淬 劲敌 劲旅 刚劲 遒劲 苍劲'],
  ['卷', 'juǎn', '卷土 卷地 卷伞 卷甲 卷旗 卷席 卷舌 电卷 云卷 霞卷 风卷 席卷 卷舒'],
  ['没', 'mò', '没齿 没世 没没 覆没 出没 湮没 没金 没石 没卫 而没 以没 没而不朽 月没 冒没 出头没 头没杯'],
  ['强', 'qiǎng', '强人所难 强颜 强按 强词 牵强 强作 强聒 强食自 强食靡 强酒 强而后 勉强 强不知 强加'],
  ['强', 'jiàng', '倔强 强嘴 强唇 强头'],
  // 薄 bó in idioms; báo "thin" only as paper is.
  ['薄', 'bó', '薄'],
  ['薄', 'báo', '纸薄 薄唇'],
  ['薄', 'bù', '对薄'],
  ['簿', 'bù', '簿'],
  ['重', 'chóng', '重逢 重游 重弹 重提 重演 重圆 重合 重光 重温 重整 重振 重操 重蹈 重见 重睹 重起 重生 重来 不重至 '
    + '重峦 重山 重重 重茧 万重 重明 重足 重熙 重规 重葩 重纸 重手 重席 重架 一重'],
  ['钻', 'zuān', '钻'],
  ['好', 'hào', '所好 好恶 好佚 好奇 好古 好为 好胜 好学 好色 好战 好客 好高 好逸 好大喜 好善 好问 好行 好勇 好谋 好整 公好'],
  ['恶', 'wù', '恶死 逸恶 好恶 深恶 恶劳 恶湿'],
  // 长 zhǎng: grow, increase, the elder.
  ['长', 'zhǎng', '长一智 助长 生长 长进 滋长 成长 增长 长幼 长者 长老 兄长 师长 年长 长官 首长 长大 土生土长 '
    + '相长 消长 长他人 长敌人 尊长'],
  ['否', 'pǐ', '否极 否泰 臧否 否塞 否运 否终'],
  ['参', 'shēn', '参横 参商 参辰 参宿 参回 参井'],
  ['参', 'cēn', '参差'],
  ['差', 'cī', '参差'],
  // 更 gēng: the night watches, change.
  ['更', 'gēng', '更深 三更 五更 更阑 更残 更漏 更鼓 更仆 更尽 更新 更始 更生 更张 更改 更换 更迭 更替 更衣 更事 '
    + '变更 更名 更弦 更代'],
  ['暴', 'pù', '一暴 暴衣 暴背 暴腮'],
  // Single readings pinyin-pro gets wrong in these phrases.
  ['呱', 'gū', '呱呱'],
  ['数', 'shuò', '数见'],
  ['数', 'shǔ', '齿数'],
  ['貉', 'hé', '之貉'],
  ['便', 'biàn', '便宜行 便宜施'],
  ['宜', 'yí', '便宜行 便宜施'],
  ['哄', 'hòng', '一哄'],
  ['臭', 'chòu', '臭味'],
  ['蹊', 'xī', '蹊径'],
  ['委', 'wēi', '委蛇'],
  ['蛇', 'yí', '委蛇'],
  ['还', 'huán', '暖还寒'],
  ['几', 'jī', '净几'],
  ['辗', 'zhǎn', '辗转'],
  ['剥', 'bō', '活剥 剥茧'],
  ['兴', 'xìng', '兴索然'],
  ['省', 'xǐng', '晨省'],
  ['爪', 'zhǎo', '鸿爪 雪爪'],
  ['宁', 'nìng', '宁缺 宁为'],
  ['应', 'yīng', '一应'],
  ['埋', 'mán', '埋天'],
  ['豁', 'huò', '豁然'],
  ['嚣', 'xiāo', '嚣张 甚嚣'],
  ['弹', 'dàn', '弹尽'],
  ['胖', 'pán', '体胖'],
  ['翘', 'qiáo', '翘足'],
  ['脯', 'fǔ', '漏脯'],
  ['干', 'gàn', '洗手不干'],
  ['揣', 'chuǎi', '不揣'],
  ['给', 'jǐ', '人给'],
  ['的', 'dì', '破的'],
  ['攒', 'cuán', '攒月'],
  ['难', 'nàn', '之难'],
  ['挨', 'ái', '挨冻'],
  ['匮', 'guì', '金匮'],
  ['乐', 'yuè', '乐崩'],
  ['咀', 'jǔ', '咀徵'],
  ['徵', 'zhǐ', '咀徵'],
  ['中', 'zhòng', '中伤'],
  ['泥', 'nì', '泥古'],
  ['差', 'chā', '差之毫厘 差以毫厘'],
  ['干', 'gān', '干脆'],
  ['混', 'hún', '混水'],
  ['几', 'jī', '研几 可几'],
  ['絜', 'xié', '絜短 絜长'],
  ['调', 'diào', '调重弹'],
  ['蒙', 'mēng', '坑蒙 蒙头转'],
  ['逮', 'dài', '未逮'],
  ['率', 'shuài', '率尔'],
  ['红', 'hóng', '红男'],
  ['脏', 'zàng', '五脏'],
  ['虎', 'hū', '马马虎虎'],
  ['酊', 'dǐng', '酩酊'],
  ['滂', 'pāng', '滂沱'],
  ['栖', 'xī', '栖栖'],
  ['奄', 'yǎn', '奄奄'],
  ['曲', 'qū', '曲里 曲突'],
  ['少', 'shào', '少不经 少不更'],
  ['数', 'shǔ', '数黑 数黄'],
  ['露', 'lù', '泄露'],
  ['间', 'jiàn', '达一间'],
  ['与', 'yù', '咸与'],
  ['烜', 'xuǎn', '烜赫'],
  ['切', 'qiē', '刀切 切铁'],
  ['蹶', 'jué', '蹶不'],
  ['溜', 'liù', '溜烟'],
  ['散', 'sǎn', '散沙'],
  ['降', 'xiáng', '降一物'],
  ['血', 'xiě', '见血'],
  ['还', 'huán', '还治'],
  ['度', 'duó', '度君子'],
  ['难', 'nàn', '有难同'],
  ['瘅', 'dàn', '瘅恶'],
  ['槛', 'jiàn', '折槛'],
  ['打', 'dǎ', '打水'],
  ['结', 'jiē', '花结实'],
  ['扒', 'pá', '扒高'],
  ['遂', 'suí', '身不遂'],
  ['夯', 'bèn', '口夯'],
  ['觜', 'zuǐ', '凤觜'],
  // 处 chǔ "dwell, be placed in, get on with, deal with": before what it is
  // in or does, after the one who dwells or deals, and 出处 "taking office or
  // not"; chù "place" where the idiom names one (首足异处, 无下箸处).
  ['处', 'chǔ', '处子 处女 处士 处堂 处屋 处中 处顺 处优 处此 处心 处虑 处世 处身 处地 处事 处之 处囊 处下 处实 处高 '
    + '处尊 处众 处家 处乱 处困 处危 处约 处贫 处富 处卑 处安 处变 处逆 处穷 自处 善处 审处 杂处 同处 相处 独处 共处 穴处 野处 棋处 棊处 宁处 启处 夜处 静处 燕处 鹤处 虱处 邈处 出处'],
  ['处', 'chù', '异处 箸处 触处'],
  // 差 chā "differ, err" in idioms; chāi "send on an errand", cī "uneven",
  // chà "fall short" only in these.
  ['差', 'chā', '差'],
  ['差', 'chāi', '神差 鬼差 差使 差遣 差事 差役 差官 钦差 出差 公差 交差 美差 当差 听差 差贫'],
  ['差', 'cī', '鳞差'],
  ['差', 'chà', '差不多 差点 差一点 差劲'],
  // 量 liàng "estimate, gauge" before what it weighs up (量力而行, 量才录用,
  // 量入为出); liáng "measure" with a measure stays pinyin-pro's.
  ['量', 'liàng', '量力 量才 量材 量能 量入 量体 量时 量己 量凿 量枘 比量齐'],
  // 度 duó "estimate, consider" with what it weighs, or after a verb of the same sense.
  ['度', 'duó', '度德 度势 度力 度理 度情 度形 度功 度己 度人之 度长絜 揆度 审度 揣度 忖度 测度 谘度'],
  // 长 cháng where long is set against short (说短道长); zhǎng "grow, foster, elder".
  ['长', 'cháng', '长…短 短…长'],
  ['长', 'zhǎng', '不可长 敬长 长恶 长虺 徒长 类而长 水长船 人长德 女长 日引月长 飞草长 生夏长 生土长 生泊长 一日之长'],
  // 着 zháo "touch, reach, hit", zhuó "attach, put on, apply", zhāo "a move";
  // where the source wrote 着 for 著 "write, manifest", zhù.
  ['着', 'zháo', '摸不着 摸门不着 摸头不着 偷鸡不着 不着店 着天 着地 着三 不着两 当着不着 捉九着 百下百着 搔着 着疼 着热 '
    + '着痒 着刀 打正着'],
  ['着', 'zhuó', '着手 着眼 着墨 着鞭 着粪 着绿 着边 着体 皮着骨 着醋 着里 着装 着笔 着人先 附叶着 吃着不'],
  ['着', 'zhāo', '一着 高一着 输先着 为上着'],
  ['着', 'zhù', '着书 着白 着明 昭着 较着 素着 巨着 知着 睹着'],
  // 重 chóng "layer upon layer, again" beside another word of piling up.
  ['重', 'chóng', '重…叠 叠…重 重…迭 迭…重 重…复 复…重 重…累 累…重 重…沓 重…袭 兼…重 重…兼 不重茵 不重味 不重肉 '
    + '重趼 重关 重门 重垣 重岩 重床 重圭 重珪 重纰 重裵 重迹 重作 重兴 重理 重洋 重磨 重谈 重三 重霄 重楼 重檐 重城 山重 骨重肉'],
  ['重', 'zhòng', '言重'],
  // 难 nàn "calamity", and "question, refute" (质疑问难); nán "hard".
  ['难', 'nàn', '临难 国难 鲁难 赴难 问难 送难 彼难 救难 母难 排难 厌难 众难 受难 蒙难 遭难 纾难 诘难 辩难 灾…难 难…灾'],
  ['难', 'nán', '有国难 大难用 难掉 避难趋 日大难'],
  // 好 hào "be fond of" before what is liked.
  ['好', 'hào', '好义 好施 好士 好利 好骑 好弄 好戴 好强 自好 上好下 燕昭好马'],
  // 将 jiàng "general"; jiāng "about to".
  ['将', 'jiàng', '将遇 出将 兵天将 将才 将略'],
  ['将', 'jiāng', '中将昃'],
  // 数 shǔ "count, enumerate, reproach".
  ['数', 'shǔ', '莫数 仆数 数往 数短 数长 数马 数白 数睫 数东 数落 数说 数典'],
  // 识 zhì "remember".
  ['识', 'zhì', '强识 默识 默而识'],
  // 干 gān "dry, shield, seek, concern" in idioms; gàn "trunk, do, able" in
  // these, and qián where the source wrote 干 for 乾 (扭转干坤).
  ['干', 'gān', '干名 干啼 干净 推干 干罢 油干 豪干 于干'],
  ['干', 'gàn', '干济 强干弱 干父'],
  ['干', 'qián', '干…坤 干干'],
  // 当 dāng "just at" (适当其时), dàng "fitting".
  ['当', 'dāng', '适当其'],
  ['当', 'dàng', '固当'],
  // Other characters of the idioms above that pinyin-pro misreads.
  ['济', 'jì', '干济'],
  ['调', 'diào', '调重谈'],
  ['发', 'fà', '擢发'],
  ['虺', 'huǐ', '虺成'],
  ['揣', 'chuǎi', '揣时 揣情 揣合 西揣'],
  // 间界 gān gà: 尴尬 written otherwise; 结 jiē in the doubled 结巴 "stammer".
  ['间', 'gān', '半间不界 半间半界 不间不界'],
  ['界', 'gà', '半间不界 半间半界 不间不界'],
  ['结', 'jiē', '巴巴结结'],
  // 儿 er, toneless: the suffix of a spoken form ("吊儿郎当" reads so already), not 男儿 or 小儿.
  ['儿', 'er', '哥儿 脑儿 题儿 老儿 狗儿 碟儿 正儿'],
];

const HAN = /[\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff\u{20000}-\u{3134f}]/u;

function compile(rules) {
  return rules.flatMap(([character, reading, phrases]) => phrases.split(' ').map((phrase) => {
    const pieces = phrase.split('…');
    const source = pieces.map((piece) => [...piece].map((c) => `(${c})`).join('')).join('.*?');
    return { character, reading, phrase, length: [...phrase.replaceAll('…', '')].length, pattern: new RegExp(source, 'uyd') };
  }));
}

const COMPILED = compile(RULES);
const RULES_BY_CHARACTER = new Map();
for (const rule of COMPILED) RULES_BY_CHARACTER.set(rule.character, [...(RULES_BY_CHARACTER.get(rule.character) ?? []), rule]);

// syllables: one per Chinese character of idiom, in order. Returns the
// syllables with every rule applied, and the phrases that decided.
export function applyPolyphoneRules(idiom, syllables) {
  const characters = [...idiom].filter((c) => HAN.test(c));
  if (characters.length !== syllables.length) return { syllables, phrases: [] };
  const han = characters.join('');
  // Code unit offset -> character index, for the match indices.
  const indexAt = new Map();
  let offset = 0;
  characters.forEach((c, i) => {
    indexAt.set(offset, i);
    offset += c.length;
  });
  const decided = new Map();
  for (const rule of [...new Set(characters)].flatMap((c) => RULES_BY_CHARACTER.get(c) ?? [])) {
    for (let start = 0; start < han.length; start += 1) {
      if (!indexAt.has(start)) continue;
      rule.pattern.lastIndex = start;
      const match = rule.pattern.exec(han);
      if (!match) continue;
      for (let group = 1; group < match.indices.length; ++group) {
        if (match[group] !== rule.character) continue;
        const at = indexAt.get(match.indices[group][0]);
        const previous = decided.get(at);
        if (!previous || rule.length > previous.length) decided.set(at, rule);
      }
    }
  }
  const result = [...syllables];
  for (const [at, rule] of decided) result[at] = rule.reading;
  return { syllables: result, phrases: [...new Set([...decided.values()].map((r) => r.phrase))] };
}
