// Loads a web site written by `vexor --site` in headless Chromium and checks it as a reader
// uses it: the numbers on the pages equal the JSON export's, the players' table sorts from the
// keyboard and finds players by name, the pages read without JavaScript and fit a phone's width,
// and no script error occurs. With a third argument, saves screenshots into that folder.
//
//   node site-check.js CHROMIUM SITE_FOLDER STATS.json [SCREENSHOT_FOLDER]
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { Browser } = require('./cdp.js');

const [chromium, site, jsonFile, shots] = process.argv.slice(2);
const stats = JSON.parse(fs.readFileSync(jsonFile, 'utf8'));
const url = (page) => pathToFileURL(path.join(site, page)).href;
const listed = stats.games.filter((game) => !game.short);
const near = (shown, value, step) => Math.abs(parseFloat(shown) - value) <= step / 2 + 1e-9;
let checks = 0;
const check = (name, fn) => fn().then(() => { ++checks; console.log('ok   ' + name); });

// The rows of a table as their players' numbers and cells (exact value or text).
const tableRows = (id) => `Array.from(document.querySelectorAll('#${id} tbody tr'))
  .filter((row) => !row.hidden)
  .map((row) => ({ player: +row.dataset.player, game: +row.dataset.game,
                   cells: Array.from(row.cells).map((c) => c.dataset.v ?? c.textContent.trim()),
                   texts: Array.from(row.cells).map((c) => c.textContent.trim()) }))`;

async function playersTableMatchesTheExport(page) {
  await page.open(url('players.html'));
  const rows = await page.evaluate(tableRows('players'));
  assert.equal(rows.length, stats.players.length);
  for (const row of rows) {
    const p = stats.players[row.player - 1];
    const [rank, , rating, deviation, frags, deaths, suicides, skill, seconds, fph, dph, sph,
           games] = row.cells;
    assert.equal(+rank, p.rating.rank, p.name);
    assert.equal(+rating, p.rating.value, p.name);
    assert.equal(+deviation, p.rating.deviation, p.name);
    assert.deepEqual([+frags, +deaths, +suicides, +seconds, +games],
                     [p.frags, p.deaths, p.suicides, p.totalSeconds, p.gamesPlayed], p.name);
    assert.deepEqual([+skill, +fph, +dph, +sph],
                     [p.skill, p.fragsPerHour, p.deathsPerHour, p.suicidesPerHour], p.name);
    assert.ok(near(row.texts[7], p.skill, 0.01), p.name + ' skill shown ' + row.texts[7]);
    assert.equal(row.texts[8], p.timeText);
  }
  // Best rank first.
  assert.deepEqual(rows.map((r) => +r.cells[0]), rows.map((r, i) => i + 1));
}

async function sortingFromTheKeyboard(page) {
  await page.open(url('players.html'));
  const column = async (index) => (await page.evaluate(tableRows('players')))
    .map((row) => row.cells[index]);
  const sortState = (index) => page.evaluate(
    `document.querySelectorAll('#players thead th')[${index}].getAttribute('aria-sort')`);
  // The Frags heading's button takes the focus and Enter sorts: the most frags first.
  await page.evaluate(`document.querySelectorAll('#players thead th')[4].querySelector('button').focus()`);
  await page.press('Enter');
  let frags = (await column(4)).map(Number);
  assert.deepEqual(frags, frags.slice().sort((a, b) => b - a));
  assert.equal(await sortState(4), 'descending');
  await page.press(' ');  // Space on the same button: the other way
  frags = (await column(4)).map(Number);
  assert.deepEqual(frags, frags.slice().sort((a, b) => a - b));
  assert.equal(await sortState(4), 'ascending');
  // Tab moves to the next heading (Deaths) and Enter sorts by it.
  await page.press('Tab');
  await page.press('Enter');
  assert.equal(await sortState(5), 'descending');
  assert.equal(await sortState(4), null);
  // Names sort A to Z without regard to case.
  await page.evaluate(`document.querySelectorAll('#players thead th')[1].querySelector('button').click()`);
  const names = (await page.evaluate(tableRows('players'))).map((row) => row.texts[1]);
  assert.deepEqual(names, names.slice().sort((a, b) => a.localeCompare(b, undefined, { sensitivity: 'base' })));
}

async function searchFindsPlayersByName(page) {
  await page.open(url('players.html'));
  assert.equal(await page.evaluate(`document.querySelector('.search').hidden`), false);
  const name = stats.players[stats.players.length - 1].name;
  const part = name.slice(0, Math.max(2, Math.ceil(name.length / 2))).toUpperCase();
  await page.evaluate(`document.getElementById('player-search').focus()`);
  await page.type(part);
  const rows = await page.evaluate(tableRows('players'));
  const expected = stats.players.filter((p) => p.name.toLowerCase().includes(part.toLowerCase()));
  assert.deepEqual(rows.map((r) => r.player).sort((a, b) => a - b), expected.map((p) => p.number));
  assert.ok(rows.length >= 1 && rows.length < stats.players.length, part);
  assert.equal(await page.evaluate(`document.getElementById('search-count').textContent`),
               `${rows.length} of ${stats.players.length} players`);
}

async function playerPagesMatchTheExport(page) {
  for (const p of stats.players) {
    await page.open(url(`players/p${p.number}.html`));
    const facts = await page.evaluate(`Object.fromEntries(Array.from(document.querySelectorAll('dd[id]'))
      .map((dd) => [dd.id, dd.dataset.v]))`);
    assert.deepEqual(
      [+facts.frags, +facts.deaths, +facts.suicides, +facts['games-played'], +facts['play-time'],
       +facts.rank, +facts.rating, +facts['rated-games'], +facts.skill],
      [p.frags, p.deaths, p.suicides, p.gamesPlayed, p.totalSeconds, p.rating.rank,
       p.rating.value, p.rating.ratedGames, p.skill], p.name);
    const rows = await page.evaluate(tableRows('games-played'));
    const played = Object.entries(p.games)
      .filter(([g, values]) => values.seconds > 0 && !stats.games[g - 1].short);
    assert.equal(rows.length, played.length, p.name);
    for (const [i, [g, values]] of played.entries()) {
      const row = rows[i];
      assert.equal(row.game, +g);
      assert.deepEqual(row.cells.slice(3, 7).map(Number),
                       [values.frags, values.deaths, values.suicides, values.seconds]);
      assert.equal(row.cells[7] === '' ? undefined : +row.cells[7], values.rating, p.name + ' game ' + g);
    }
    // The weapons chart says every weapon's frags in its text alternative.
    const description = await page.evaluate(`document.getElementById('weapon-chart-d').textContent`);
    for (const [weapon, frags] of Object.entries(p.weapons)) {
      assert.ok(description.includes(': ' + frags), weapon + ' in ' + description);
    }
  }
}

async function gamePagesMatchTheExport(page) {
  for (const [i, game] of listed.entries()) {
    await page.open(url(`games/g${i + 1}.html`));
    const rows = await page.evaluate(tableRows('results'));
    assert.deepEqual(rows.map((r) => r.player).sort((a, b) => a - b), game.players);
    const scores = rows.map((r) => +r.cells[2]);
    assert.deepEqual(scores, scores.slice().sort((a, b) => b - a), 'best score first');
    for (const row of rows) {
      const values = stats.players[row.player - 1].games[game.number];
      assert.deepEqual(row.cells.slice(3, 6).map(Number), [values.frags, values.deaths, values.suicides]);
    }
    const matrix = await page.evaluate(`Array.from(document.querySelectorAll('#kill-matrix tbody tr'))
      .map((row) => Array.from(row.cells).slice(1).map((c) => +c.textContent))`);
    const cells = [];
    matrix.forEach((row, k) => row.forEach((count, v) => { if (count) cells.push([k, v, count]); }));
    assert.deepEqual(cells, game.kills.all, 'kill table of game ' + game.number);
  }
}

async function overviewMatchesTheExport(page) {
  await page.open(url('index.html'));
  assert.equal(+(await page.evaluate(`document.getElementById('game-count').textContent`)), listed.length);
  assert.equal(+(await page.evaluate(`document.getElementById('player-count').textContent`)),
               stats.players.length);
  const winners = await page.evaluate(`Array.from(document.querySelectorAll('#awards-table tbody tr'))
    .map((row) => { const a = row.querySelector('a'); return a ? +a.href.match(/p(\\d+)\\.html$/)[1] : null; })`);
  assert.deepEqual(winners, stats.awards.map((award) => award.player));
}

async function readsWithoutJavaScriptAndOnAPhone(page) {
  await page.send('Emulation.setScriptExecutionDisabled', { value: true });
  await page.open(url('players.html'));
  assert.equal(await page.evaluate(`document.querySelectorAll('#players tbody tr').length`),
               stats.players.length);
  assert.equal(await page.evaluate(`document.querySelectorAll('#players thead button').length`), 0);
  await page.send('Emulation.setScriptExecutionDisabled', { value: false });
  await page.viewport(390, 800, false);
  for (const file of ['index.html', 'players.html', 'games.html', 'players/p1.html', 'games/g1.html']) {
    await page.open(url(file));
    const widths = await page.evaluate(`[document.documentElement.scrollWidth, window.innerWidth]`);
    assert.ok(widths[0] <= widths[1], file + ' is wider than a phone: ' + widths);
  }
}

async function saveScreenshots(page) {
  fs.mkdirSync(shots, { recursive: true });
  const views = [
    ['site-overview.png', 'index.html', 1100, 900, false],
    ['site-players-dark.png', 'players.html', 1100, 700, true],
    ['site-player-phone.png', 'players/p1.html', 390, 1400, false],
    ['site-game.png', 'games/g1.html', 1100, 900, false],
  ];
  for (const [file, pageName, width, height, dark] of views) {
    await page.viewport(width, height, dark);
    await page.open(url(pageName));
    await page.screenshot(path.join(shots, file));
  }
}

async function main() {
  const browser = new Browser(chromium);
  let failed = false;
  try {
    const page = await browser.newPage();
    await page.viewport(1100, 800, false);
    const steps = [
      ['the players table matches the JSON export', playersTableMatchesTheExport],
      ['the players table sorts from the keyboard', sortingFromTheKeyboard],
      ['the search finds players by name', searchFindsPlayersByName],
      ['every player page matches the JSON export', playerPagesMatchTheExport],
      ['every game page matches the JSON export', gamePagesMatchTheExport],
      ['the overview matches the JSON export', overviewMatchesTheExport],
      ['the pages read without JavaScript and on a phone', readsWithoutJavaScriptAndOnAPhone],
    ];
    for (const [name, step] of steps) {
      try {
        await check(name, () => step(page));
      } catch (error) {
        failed = true;
        console.log('FAIL ' + name + ': ' + error.message);
      }
    }
    if (page.errors.length) {
      failed = true;
      console.log('FAIL script errors in the pages: ' + page.errors.join('; '));
    }
    if (shots) await saveScreenshots(page);
  } catch (error) {
    failed = true;
    console.log('FAIL the browser: ' + error.message + '\n' + browser.stderr.slice(-2000));
  } finally {
    await browser.close();
  }
  console.log(`${checks} passed, ${failed ? 1 : 0} failed`);
  process.exit(failed ? 1 : 0);
}

main();
