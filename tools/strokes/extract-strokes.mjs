// Reads the installed stroke sources and writes two UTF-8 tables:
//
// strokes.tsv, for lexomir-build-strokes: one row per character of npm
// hanzi-writer-data, in code-point order, after a line "#source\t<package>
// <version>" and the header.
//   1 zi        the character (its file name)
//   2 strokes   how many strokes it has
//   3 outlines  each stroke's outline, an SVG path string as the package has
//               it, in stroke order, separated by ";"
//   4 medians   each stroke's centre line, "x,y x,y ..." (the package's
//               points), in stroke order, separated by ";"
//
// stroke-order.tsv, for lexomir-build-xinhua: one row per character of npm
// cnchar-order, in code-point order: zi, then its stroke names joined by "、".
// cnchar-order gives a few letters two names ("斜钩|卧钩"); the centre line of
// that stroke, where hanzi-writer-data has the character with as many
// strokes, tells them apart (see chooseName). "点2", its name for a dot
// written rising to the right, is shown as 点.
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';

function parseArguments(argv) {
  const options = {};
  for (let i = 2; i < argv.length; i += 2) {
    const name = argv[i];
    const value = argv[i + 1];
    if (!name.startsWith('--') || value === undefined) throw new Error(`bad argument ${name}`);
    options[name.slice(2)] = value;
  }
  for (const required of ['node-modules', 'strokes-out', 'order-out']) {
    if (!options[required]) throw new Error(`--${required} is required`);
  }
  return options;
}

const byCodePoint = (a, b) => a.codePointAt(0) - b.codePointAt(0);

function readHanziWriterData(folder) {
  const characters = new Map();
  for (const file of fs.readdirSync(folder)) {
    if (!file.endsWith('.json') || file === 'package.json') continue;
    const zi = file.slice(0, -'.json'.length);
    if ([...zi].length !== 1) continue;
    const data = JSON.parse(fs.readFileSync(path.join(folder, file), 'utf8'));
    if (!Array.isArray(data.strokes) || !Array.isArray(data.medians) ||
        data.strokes.length !== data.medians.length || data.strokes.length === 0) {
      throw new Error(`${file}: strokes and medians do not pair up`);
    }
    characters.set(zi, data);
  }
  return characters;
}

function medianText(points) {
  return points.map(([x, y]) => `${x},${y}`).join(' ');
}

function bounds(points) {
  const xs = points.map((p) => p[0]);
  const ys = points.map((p) => p[1]);
  return { width: Math.max(...xs) - Math.min(...xs), height: Math.max(...ys) - Math.min(...ys) };
}

// The centre line is in the package's box: x to the right, y up.
const nameRules = {
  // 斜钩 (戈) runs steeply down to the right; 卧钩 (心) lies flat.
  '斜钩|卧钩': (points) => {
    const { width, height } = bounds(points);
    return height > 0.9 * width ? '斜钩' : '卧钩';
  },
  // 横撇 (又) falls far below its corner; 横钩 (冖) ends in a short hook.
  '横撇|横钩': (points) => {
    let corner = points[0];
    for (const p of points) if (p[0] > corner[0]) corner = p;
    const last = points[points.length - 1];
    const drop = corner[1] - last[1];
    const width = corner[0] - points[0][0];
    return drop > 0.45 * Math.max(width, 1) ? '横撇' : '横钩';
  },
  // 竖折撇 (专) ends down to the left of its last corner; 竖折折 (鼎) ends
  // straight below it.
  '竖折撇|竖折折': (points) => {
    let corner = points[0];
    for (const p of points) if (p[0] > corner[0]) corner = p;
    const last = points[points.length - 1];
    return corner[0] - last[0] > 0.3 * (corner[1] - last[1]) ? '竖折撇' : '竖折折';
  },
  // 横撇弯钩 is the narrow 阝; 横折折折钩 (乃) spans the character.
  '横折折折钩|横撇弯钩': (points) => (bounds(points).width < 400 ? '横撇弯钩' : '横折折折钩'),
  // The two bend the same way and differ only in how round the last turn
  // is: 横折弯 (几, 殳) is by far the more frequent.
  '横折折|横折弯': () => '横折弯',
};

function chooseName(name, median) {
  if (name === '点2') return '点';
  if (!name.includes('|')) return name;
  const rule = nameRules[name];
  if (!rule) throw new Error(`no rule tells the names ${name} apart`);
  return median ? rule(median) : name.split('|')[0];
}

function readStrokeOrders(nodeModules) {
  const require = createRequire(path.resolve(nodeModules, 'noop.js'));
  const plugin = require('cnchar-order');
  const { orders, strokeTable } = (plugin.default ?? plugin).dict;
  if (!orders || !strokeTable) throw new Error('cnchar-order: no orders or stroke table');
  return { orders, strokeTable };
}

function strokeOrderRows(nodeModules, hanziWriter) {
  const { orders, strokeTable } = readStrokeOrders(nodeModules);
  const rows = [];
  let fromOutline = 0;
  for (const zi of Object.keys(orders).sort(byCodePoint)) {
    if ([...zi].length !== 1) continue;
    const letters = [...orders[zi]];
    const medians = hanziWriter.get(zi)?.medians;
    const paired = medians && medians.length === letters.length;
    if (paired) ++fromOutline;
    const names = letters.map((letter, i) => {
      const entry = strokeTable[letter];
      if (!entry) throw new Error(`cnchar-order: ${zi} has an unknown stroke letter ${letter}`);
      return chooseName(entry.name, paired ? medians[i] : null);
    });
    rows.push(`${zi}\t${names.join('、')}`);
  }
  return { rows, fromOutline };
}

function strokeRows(hanziWriter) {
  const rows = [];
  for (const zi of [...hanziWriter.keys()].sort(byCodePoint)) {
    const { strokes, medians } = hanziWriter.get(zi);
    strokes.forEach((outline, i) => {
      if (/[\t\n;]/.test(outline)) throw new Error(`${zi}: stroke ${i + 1} holds a tab, newline or ;`);
    });
    rows.push(`${zi}\t${strokes.length}\t${strokes.join(';')}\t${medians.map(medianText).join(';')}`);
  }
  return rows;
}

function writeTable(file, lines) {
  fs.mkdirSync(path.dirname(file), { recursive: true });
  const temporary = `${file}.tmp`;
  fs.writeFileSync(temporary, lines.join('\n') + '\n');
  fs.renameSync(temporary, file);
}

const options = parseArguments(process.argv);
const dataFolder = path.join(options['node-modules'], 'hanzi-writer-data');
const { name, version } = JSON.parse(fs.readFileSync(path.join(dataFolder, 'package.json'), 'utf8'));
const hanziWriter = readHanziWriterData(dataFolder);
const strokes = strokeRows(hanziWriter);
writeTable(options['strokes-out'],
           [`#source\t${name} ${version}`, 'zi\tstrokes\toutlines\tmedians', ...strokes]);
const order = strokeOrderRows(options['node-modules'], hanziWriter);
writeTable(options['order-out'], ['zi\tnames', ...order.rows]);
console.log(`hanzi-writer-data: ${strokes.length} characters`);
console.log(`cnchar-order: ${order.rows.length} characters, ${order.fromOutline} of them with ` +
            'as many strokes in hanzi-writer-data');
