// Reads MDX files with two independent parsers (mdx-m3-viewer, war3-model),
// saves each again and compares the bytes with the file; prints, per file and
// parser, what it read as one JSON line for the test to compare with our loader.
'use strict';
const fs = require('fs');
const path = require('path');
const Mdlx = require('mdx-m3-viewer/dist/cjs/parsers/mdlx').default;
const war3 = require('war3-model');

// Both checkers write our files back byte for byte, so no field is exempt.
function firstDifference(a, b) {
  const n = Math.min(a.length, b.length);
  for (let i = 0; i < n; i++) if (a[i] !== b[i]) return i;
  return a.length === b.length ? -1 : n;
}

function m3Summary(bytes) {
  const model = new Mdlx.Model();
  model.load(bytes);
  const saved = model.saveMdx();
  return {
    saved,
    info: {
      sequences: model.sequences.map((s) => [s.name, s.interval[0], s.interval[1], s.rarity]),
      geosets: model.geosets.length,
      vertices: model.geosets.reduce((n, g) => n + g.vertices.length / 3, 0),
      triangles: model.geosets.reduce((n, g) => n + g.faces.length / 3, 0),
      bones: model.bones.map((b) => [b.name, b.objectId, b.parentId]),
      helpers: model.helpers.map((b) => [b.name, b.objectId, b.parentId]),
      pivots: model.pivotPoints.map((p) => Array.from(p)),
    },
  };
}

function war3Summary(bytes) {
  const buffer = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
  const model = war3.parseMDX(buffer);
  const saved = new Uint8Array(war3.generateMDX(model));
  const nodes = (list) => list.map((n) => [n.Name, n.ObjectId, n.Parent == null ? -1 : n.Parent]);
  return {
    saved,
    info: {
      sequences: model.Sequences.map((s) => [s.Name, s.Interval[0], s.Interval[1], s.Rarity]),
      geosets: model.Geosets.length,
      vertices: model.Geosets.reduce((n, g) => n + g.Vertices.length / 3, 0),
      triangles: model.Geosets.reduce((n, g) => n + g.Faces.length / 3, 0),
      bones: nodes(model.Bones),
      helpers: nodes(model.Helpers),
      pivots: model.PivotPoints.map((p) => Array.from(p)),
    },
  };
}

// Usage: node check-mdx.js [--viewer VRAX_MODELVIEW] (--dir FOLDER | FILE...)
// With --viewer, what each checker read must equal what our loader reads.
const args = process.argv.slice(2);
let viewer = null;
const files = [];
for (let i = 0; i < args.length; i++) {
  if (args[i] === '--viewer') viewer = args[++i];
  else if (args[i] === '--dir') files.push(...listModels(args[++i]));
  else files.push(args[i]);
}

function listModels(dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).flatMap((e) => {
    const full = path.join(dir, e.name);
    if (e.isDirectory()) return listModels(full);
    return e.name.toLowerCase().endsWith('.mdx') ? [full] : [];
  }).sort();
}

// Numbers as single floats, the way both sides hold them.
function same(a, b) {
  if (typeof a === 'number' && typeof b === 'number') return Math.fround(a) === Math.fround(b);
  if (Array.isArray(a) && Array.isArray(b)) return a.length === b.length && a.every((v, i) => same(v, b[i]));
  return a === b;
}

const compared = ['sequences', 'geosets', 'vertices', 'triangles', 'bones', 'helpers', 'pivots'];
let failed = files.length === 0;
for (const file of files) {
  let ours = null;
  if (viewer) {
    ours = JSON.parse(require('child_process').execFileSync(viewer, ['--info', '--json', file]).toString());
  }
  const bytes = new Uint8Array(fs.readFileSync(file));
  for (const [name, read] of [['mdx-m3-viewer', m3Summary], ['war3-model', war3Summary]]) {
    let result;
    try {
      result = read(bytes);
    } catch (e) {
      console.log(JSON.stringify({ file: path.basename(file), checker: name, error: String(e) }));
      failed = true;
      continue;
    }
    const at = firstDifference(bytes, result.saved);
    const differing = ours ? compared.filter((key) => !same(ours[key], result.info[key])) : [];
    if (at >= 0 || differing.length) failed = true;
    console.log(JSON.stringify({ file: path.basename(file), checker: name, sameBytes: at < 0,
      firstDifference: at, savedLength: result.saved.length, length: bytes.length, differing }));
  }
}
process.exit(failed ? 1 : 0);
