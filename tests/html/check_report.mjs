// SPDX-License-Identifier: Apache-2.0
// Opens each HTML report in headless Chromium, runs axe-core over it and prints every violation,
// then reads the tables as the browser parsed them and checks that every index score,
// percentile, interval and scaled score of the matching JSON report stands in a table row headed
// by its name, in a table with column headers, and every index score in the profile graph's table
// of values; the occasion's messages are those of the JSON, and printed the document gives one A4
// sheet per page. Exit status 0 when all is well, 1 otherwise.
//
//   node check_report.mjs CHROMIUM REPORT.html REPORT.json [REPORT.html REPORT.json ...]
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const require = createRequire(import.meta.url);
const { chromium } = require('playwright-core');
const axeSource = readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');

const [executablePath, ...files] = process.argv.slice(2);
if (!executablePath || files.length === 0 || files.length % 2 !== 0) {
  console.error('Användning: node check_report.mjs CHROMIUM RAPPORT.html RAPPORT.json ...');
  process.exit(1);
}

const problems = [];

// Every table as the browser sees it: caption, and per row the cells with their kind.
function readTables() {
  return [...document.querySelectorAll('table')].map((table) => ({
    caption: table.caption ? table.caption.textContent.trim() : '',
    rows: [...table.rows].map((row) =>
      [...row.cells].map((cell) => ({
        header: cell.tagName === 'TH',
        scope: cell.getAttribute('scope') || '',
        text: cell.textContent.trim(),
      })),
    ),
  }));
}

// The row headed by `name` (a th scope="row" whose text is the name or starts with it, after the
// subtest's number such as "12. ") in a table with column headers, whose data cells hold every
// value; null when there is none.
function findRow(tables, name, values) {
  for (const table of tables) {
    const headed = table.rows.some((row) => row.some((cell) => cell.scope === 'col'));
    if (!headed) continue;
    for (const row of table.rows) {
      const header = row.find((cell) => cell.scope === 'row');
      const headerName = header ? header.text.replace(/^\d+\. /, '') : '';
      if (!header || !(headerName === name || headerName.startsWith(name + ' '))) continue;
      const data = row.filter((cell) => !cell.header).map((cell) => cell.text);
      if (values.every((value) => data.includes(value))) return { table, row };
    }
  }
  return null;
}

function checkNumbers(label, tables, json) {
  let found = 0;
  for (const row of json.indexTable.rows) {
    const values = [row.IK, row.PERC, row.interval].filter((value) => value !== '');
    if (values.length === 0) continue;
    if (findRow(tables, row.name, values)) {
      found += values.length;
    } else {
      problems.push(`${label}: indexraden ${row.name} med ${values.join(', ')} finns inte i en tabell`);
    }
  }
  for (const [name, score] of Object.entries(json.ScaledScores)) {
    if (!(score > 0)) continue;
    if (findRow(tables, name, [String(score)])) {
      found += 1;
    } else {
      problems.push(`${label}: skalpoängen ${name} ${score} finns inte i en tabell`);
    }
  }
  // The index profile's value table: each index by its abbreviation with its score.
  for (const [key, index] of Object.entries(json.indexes)) {
    if (index.IK === null) continue;
    const exact = tables.some((table) =>
      table.rows.some(
        (row) =>
          row.some((cell) => cell.scope === 'row' && cell.text === key) &&
          row.some((cell) => !cell.header && cell.text === String(index.IK)),
      ),
    );
    if (exact) {
      found += 1;
    } else {
      problems.push(`${label}: grafens värde ${key} ${index.IK} finns inte i en tabell`);
    }
  }
  if (found === 0) problems.push(`${label}: inga tal att jämföra`);
  return found;
}

const browser = await chromium.launch({ executablePath, args: ['--no-sandbox'] });
try {
  for (let i = 0; i < files.length; i += 2) {
    const html = resolve(files[i]);
    const json = JSON.parse(readFileSync(files[i + 1], 'utf8').split('\n')[0]);
    const page = await browser.newPage();
    await page.goto(pathToFileURL(html).href);
    const scripts = await page.evaluate(() => document.scripts.length);
    if (scripts !== 0) problems.push(`${files[i]}: innehåller ${scripts} skript`);
    const tables = await page.evaluate(readTables);
    await page.addScriptTag({ content: axeSource });
    const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ['violations'] }));
    for (const violation of result.violations) {
      for (const node of violation.nodes) {
        problems.push(`${files[i]}: axe ${violation.id} (${violation.impact}): ${violation.help} vid ${node.target.join(' ')}`);
      }
    }
    const numbers = checkNumbers(files[i], tables, json);
    // The occasion's messages stand in the document, as in the JSON.
    const shown = await page.evaluate(() =>
      [...document.querySelectorAll('.observera li')].map((item) => item.textContent),
    );
    if (JSON.stringify(shown) !== JSON.stringify(json.messages)) {
      problems.push(`${files[i]}: meddelandena ${JSON.stringify(shown)} är inte JSON-rapportens ${JSON.stringify(json.messages)}`);
    }
    // Printed on A4, each page of the report on a sheet of its own.
    const sections = await page.evaluate(() => document.querySelectorAll('main > section').length);
    const pdf = (await page.pdf({ preferCSSPageSize: true })).toString('latin1');
    const sheets = (pdf.match(/\/Type\s*\/Page[^s]/g) || []).length;
    const a4 = /\/MediaBox\s*\[\s*0\s+0\s+59[45](\.\d+)?\s+84[12](\.\d+)?\s*\]/.test(pdf);
    if (sheets !== sections || !a4) {
      problems.push(`${files[i]}: utskriven på ${sheets} ark (A4: ${a4}), inte ett A4-ark för var och en av ${sections} sidor`);
    }
    console.log(`${files[i]}: ${result.passes.length} axe-regler uppfyllda, ${result.violations.length} brott, ${numbers} tal lika med JSON`);
    await page.close();
  }
} finally {
  await browser.close();
}
for (const problem of problems) console.error(problem);
process.exit(problems.length === 0 ? 0 : 1);
