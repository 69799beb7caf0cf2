#!/usr/bin/env node
// Dumps the OpenCorpora lexicon shipped in the npm package "az" (its dicts/ folder) to the
// plain-text lexicon read by kestrova-dictc.
//
//   node dump-az-lexicon.js AZ_DICTS_DIR OUTPUT_FILE
//
// Output (UTF-8, one record per line, fields separated by tabs):
//   # ...                       comment
//   G name alias                grammeme and its Russian abbreviation
//   T tag                       grammatical tag; tags are numbered from 0 in file order
//   L form tag form tag ...     one lexeme: its word forms with tag numbers, the lemma first
//   P form tag weight           corpus estimate of P(tag | form), times 1000000 (p_t_given_w)
//
// The package keeps every word form in words.dawg as the key "form \x01 paradigm form-number"
// (form bytes in code page 1251).  A lexeme is a paradigm applied to a stem, so the walk over
// the keys collects the distinct (paradigm, stem) pairs and writes each lexeme by expanding its
// paradigm.  Lexemes are written sorted by lemma, then by paradigm number, so the output does
// not depend on anything but the package content.
'use strict';
const fs = require('fs');
const path = require('path');

function fail(message) {
  process.stderr.write('dump-az-lexicon: ' + message + '\n');
  process.exit(1);
}

if (process.argv.length !== 4) fail('usage: dump-az-lexicon.js AZ_DICTS_DIR OUTPUT_FILE');
const dictsDir = process.argv[2];
const outFile = process.argv[3];

function readJson(name) {
  return JSON.parse(fs.readFileSync(path.join(dictsDir, name), 'utf8'));
}

// paradigms.array: uint16 count, then per paradigm a uint16 length and that many uint16:
// n suffix numbers, n tag numbers, n prefix numbers.
function readParadigms() {
  const bytes = fs.readFileSync(path.join(dictsDir, 'paradigms.array'));
  const list = new Uint16Array(bytes.buffer, bytes.byteOffset, bytes.length >> 1);
  const result = [];
  let pos = 1;
  for (let i = 0; i < list[0]; i++) {
    const size = list[pos++];
    if (size % 3 !== 0 || pos + size > list.length) fail('paradigms.array: bad paradigm ' + i);
    result.push(list.subarray(pos, pos + size));
    pos += size;
  }
  return result;
}

// A dawgdic dictionary: uint32 unit count, units, uint32 guide size, guide (two bytes per
// unit: first child label, next sibling label).
function readDawg(name) {
  const bytes = fs.readFileSync(path.join(dictsDir, name));
  const dv = new DataView(bytes.buffer, bytes.byteOffset, bytes.length);
  const unitCount = dv.getUint32(0, true);
  const guideCount = dv.getUint32(4 + unitCount * 4, true);
  const units = new Uint32Array(unitCount);
  for (let i = 0; i < unitCount; i++) units[i] = dv.getUint32(4 + i * 4, true);
  const guide = bytes.subarray(8 + unitCount * 4, 8 + unitCount * 4 + guideCount * 2);
  return { units, guide };
}

const HAS_LEAF = 1 << 8;
function offsetOf(unit) { return ((unit >>> 10) << ((unit & (1 << 9)) >>> 6)) >>> 0; }
function labelOf(unit) { return (unit & ((1 << 31) | 0xff)) >>> 0; }

function follow(dawg, index, label) {
  const next = (index ^ offsetOf(dawg.units[index]) ^ label) >>> 0;
  return labelOf(dawg.units[next]) === label ? next : -1;
}

// Calls visit(keyBytes, value) for every key of the dictionary, depth first over the guide.
function walkKeys(dawg, visit) {
  const key = [];
  function descend(index) {
    if (dawg.units[index] & HAS_LEAF) {
      const leaf = (index ^ offsetOf(dawg.units[index])) >>> 0;
      visit(key, (dawg.units[leaf] & 0x7fffffff) >>> 0);
    }
    let label = dawg.guide[index * 2];
    while (label) {
      const child = follow(dawg, index, label);
      if (child < 0) fail('words.dawg: broken guide');
      key.push(label);
      descend(child);
      key.pop();
      label = dawg.guide[child * 2 + 1];
    }
  }
  descend(0);
}

const cp1251 = new TextDecoder('windows-1251');
const grammemes = readJson('grammemes.json');
const tags = readJson('gramtab-opencorpora-int.json');
const suffixes = readJson('suffixes.json');
const prefixes = readJson('meta.json').find((e) => e[0] === 'compile_options')[1].paradigm_prefixes;
const paradigms = readParadigms();

// Distinct (paradigm, stem) pairs.
const lexemes = new Map();
walkKeys(readDawg('words.dawg'), (key) => {
  const sep = key.indexOf(1);
  if (sep < 0 || key.length !== sep + 5) fail('words.dawg: unexpected key layout');
  const paradigm = ((key[sep + 1] ^ 1) << 6) + (key[sep + 2] >> 1);
  const formNo = ((key[sep + 3] ^ 1) << 6) + (key[sep + 4] >> 1);
  const p = paradigms[paradigm];
  if (!p || formNo >= p.length / 3) fail('words.dawg: bad paradigm reference');
  const n = p.length / 3;
  const word = cp1251.decode(Uint8Array.from(key.slice(0, sep)));
  const prefix = prefixes[p[2 * n + formNo]];
  const suffix = suffixes[p[formNo]];
  const stem = word.substring(prefix.length, word.length - suffix.length);
  lexemes.set(paradigm + '\t' + stem, { paradigm, stem });
});

const records = [];
for (const { paradigm, stem } of lexemes.values()) {
  const p = paradigms[paradigm];
  const n = p.length / 3;
  const fields = [];
  for (let i = 0; i < n; i++) {
    fields.push(prefixes[p[2 * n + i]] + stem + suffixes[p[i]], String(p[n + i]));
  }
  records.push({ lemma: fields[0], paradigm, line: 'L\t' + fields.join('\t') });
}
records.sort((a, b) => (a.lemma < b.lemma ? -1 : a.lemma > b.lemma ? 1 : a.paradigm - b.paradigm));

const out = fs.openSync(outFile, 'w');
const meta = new Map(readJson('meta.json'));
fs.writeSync(out, '# OpenCorpora dictionary ' + meta.get('source_version') + ' revision ' +
  meta.get('source_revision') + ', from the npm package az 0.2.3 (data CC BY-SA 3.0, OpenCorpora)\n');
for (const g of grammemes) fs.writeSync(out, 'G\t' + g[0] + '\t' + g[2] + '\n');
for (const t of tags) fs.writeSync(out, 'T\t' + t + '\n');
let chunk = [];
for (const r of records) {
  chunk.push(r.line);
  if (chunk.length === 10000) { fs.writeSync(out, chunk.join('\n') + '\n'); chunk = []; }
}
if (chunk.length) fs.writeSync(out, chunk.join('\n') + '\n');

// p_t_given_w.intdawg: keys "form:tag" (code page 1251) with the probability as an integer.
const tagNumbers = new Map(tags.map((t, i) => [t, i]));
const weights = [];
walkKeys(readDawg('p_t_given_w.intdawg'), (key, value) => {
  const text = cp1251.decode(Uint8Array.from(key));
  const colon = text.lastIndexOf(':');
  const tag = tagNumbers.get(text.substring(colon + 1));
  if (colon < 0) fail('p_t_given_w.intdawg: unexpected key ' + text);
  // Tags of tokens outside the dictionary (LATN, NUMB, PNCT, ...) have no paradigm.
  if (tag === undefined) return;
  weights.push('P\t' + text.substring(0, colon) + '\t' + tag + '\t' + value);
});
fs.writeSync(out, weights.join('\n') + '\n');
fs.closeSync(out);
process.stderr.write('dump-az-lexicon: ' + records.length + ' lexemes, ' + tags.length + ' tags, ' +
  weights.length + ' weights\n');
