#include "site/SiteAssets.h"

namespace vexor {

const char* const kSiteStyleSheet =
    R"CSS(/* Vexor statistics: light and dark from the reader's setting. */
:root {
  color-scheme: light dark;
  --bg: #f7f7f5; --fg: #1c1c1c; --muted: #5a5a5a; --line: #d0d0cc; --head: #ebebe7;
  --accent: #2a5db0; --band: rgba(42, 93, 176, 0.18); --row: #ffffff; --zero: #a0a0a0;
  --c1: #c8102e; --c2: #1d7a1d; --c3: #8a6d00; --c4: #1f3fbf; --c5: #007a7a; --c6: #8e2c9e;
  --c7: #4a4a4a;
}
@media (prefers-color-scheme: dark) {
  :root {
    --bg: #15171a; --fg: #e6e6e6; --muted: #a8a8a8; --line: #3a3d42; --head: #23262b;
    --accent: #7aa7ff; --band: rgba(122, 167, 255, 0.22); --row: #1b1e22; --zero: #6a6a6a;
    --c1: #ff6b6b; --c2: #6bdc6b; --c3: #f2d94e; --c4: #7d9bff; --c5: #5fe0e0; --c6: #e08cf0;
    --c7: #f4f4f4;
  }
}
* { box-sizing: border-box; }
body {
  margin: 0; background: var(--bg); color: var(--fg);
  font: 16px/1.45 system-ui, -apple-system, "Segoe UI", Roboto, "DejaVu Sans", sans-serif;
}
a { color: var(--accent); }
a:focus-visible, button:focus-visible, input:focus-visible {
  outline: 3px solid var(--accent); outline-offset: 2px;
}
.skip { position: absolute; left: -999px; }
.skip:focus { left: 8px; top: 8px; background: var(--bg); padding: 4px 8px; }
header { background: var(--head); border-bottom: 1px solid var(--line); }
nav ul { display: flex; flex-wrap: wrap; gap: 4px 20px; margin: 0 auto; padding: 10px 16px;
  list-style: none; max-width: 72rem; }
nav a { font-weight: 600; text-decoration: none; }
nav a[aria-current="page"] { text-decoration: underline; text-underline-offset: 4px; }
main { max-width: 72rem; margin: 0 auto; padding: 8px 16px 24px; }
h1 { font-size: 1.7rem; margin: 12px 0; overflow-wrap: anywhere; }
h2 { font-size: 1.25rem; margin: 28px 0 8px; }
footer { max-width: 72rem; margin: 0 auto; padding: 12px 16px 24px; color: var(--muted);
  font-size: 0.85rem; }
.facts { display: grid; grid-template-columns: max-content 1fr; gap: 4px 16px; margin: 0; }
.facts dt { color: var(--muted); }
.facts dd { margin: 0; font-variant-numeric: tabular-nums; }
.scroll { overflow-x: auto; margin: 8px 0 16px; }
table { border-collapse: collapse; background: var(--row); min-width: 100%; }
caption { text-align: left; color: var(--muted); padding: 4px 0; caption-side: top; }
th, td { padding: 4px 10px; border-bottom: 1px solid var(--line); text-align: left;
  white-space: nowrap; }
thead th { background: var(--head); position: sticky; top: 0; }
.num { text-align: right; font-variant-numeric: tabular-nums; }
th button { font: inherit; font-weight: 600; color: inherit; background: none; border: 0;
  padding: 0; cursor: pointer; text-align: inherit; }
th[aria-sort="ascending"] button::after { content: " \25B2"; }
th[aria-sort="descending"] button::after { content: " \25BC"; }
.matrix td.self { background: var(--head); }
.matrix td.zero { color: var(--zero); }
.name { text-decoration: none; font-weight: 600; color: var(--fg); }
.name:hover { text-decoration: underline; }
.c1 { color: var(--c1); } .c2 { color: var(--c2); } .c3 { color: var(--c3); }
.c4 { color: var(--c4); } .c5 { color: var(--c5); } .c6 { color: var(--c6); }
.c7 { color: var(--c7); }
.search { margin: 8px 0; }
.search input { font: inherit; padding: 4px 8px; width: min(24rem, 100%); }
.note { color: var(--muted); max-width: 48rem; }
.pair { display: flex; flex-wrap: wrap; gap: 0 24px; }
.pair .scroll { flex: 1 1 18rem; }
figure.chart { margin: 8px 0 16px; max-width: 480px; }
figure.chart svg { width: 100%; height: auto; display: block; }
figcaption { color: var(--muted); font-size: 0.9rem; }
svg .bar { fill: var(--accent); }
svg .line { fill: none; stroke: var(--accent); stroke-width: 2; }
svg .band { fill: var(--band); stroke: none; }
svg .dot { fill: var(--accent); }
svg .axis { fill: none; stroke: var(--line); }
svg text { fill: var(--fg); font-size: 13px; }
svg .label { fill: var(--muted); }
@media (max-width: 40rem) {
  body { font-size: 15px; }
  svg text { font-size: 16px; }
  th, td { padding: 3px 6px; }
  .facts { grid-template-columns: 1fr 1fr; }
}
)CSS";

const char* const kSiteScript =
    R"JS(// Vexor statistics: sort tables by a column heading, find players by name.
(function () {
  'use strict';

  function cellValue(row, index) {
    var cell = row.cells[index];
    if (!cell) return '';
    var exact = cell.getAttribute('data-v');
    return exact !== null ? exact : cell.textContent.trim();
  }

  function compare(a, b, numeric) {
    if (numeric) {
      var x = parseFloat(a), y = parseFloat(b);
      var xn = isNaN(x), yn = isNaN(y);
      if (xn || yn) return xn === yn ? 0 : (xn ? 1 : -1);
      return x - y;
    }
    return a.localeCompare(b, undefined, {sensitivity: 'base'});
  }

  function sortTable(table, index, heading) {
    var numeric = heading.classList.contains('num');
    var current = heading.getAttribute('aria-sort');
    var ascending = current ? current !== 'ascending' : !numeric;
    var body = table.tBodies[0];
    var rows = Array.prototype.slice.call(body.rows);
    rows.forEach(function (row, i) { if (!row.hasAttribute('data-i')) row.setAttribute('data-i', i); });
    rows.sort(function (r, s) {
      var order = compare(cellValue(r, index), cellValue(s, index), numeric);
      if (!ascending) order = -order;
      return order || r.getAttribute('data-i') - s.getAttribute('data-i');
    });
    rows.forEach(function (row) { body.appendChild(row); });
    Array.prototype.forEach.call(heading.parentNode.cells, function (th) {
      th.removeAttribute('aria-sort');
    });
    heading.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
  }

  function makeSortable(table) {
    var headings = table.tHead.rows[0].cells;
    Array.prototype.forEach.call(headings, function (heading, index) {
      var button = document.createElement('button');
      button.type = 'button';
      while (heading.firstChild) button.appendChild(heading.firstChild);
      heading.appendChild(button);
      button.addEventListener('click', function () { sortTable(table, index, heading); });
    });
  }

  function setUpSearch(input) {
    var table = document.getElementById(input.getAttribute('data-table'));
    var status = document.getElementById('search-count');
    if (!table) return;
    input.parentNode.hidden = false;
    input.addEventListener('input', function () {
      var query = input.value.trim().toLowerCase();
      var rows = table.tBodies[0].rows, shown = 0;
      for (var i = 0; i < rows.length; ++i) {
        var name = (rows[i].getAttribute('data-name') || '').toLowerCase();
        var match = name.indexOf(query) !== -1;
        rows[i].hidden = !match;
        if (match) ++shown;
      }
      if (status) status.textContent = query ? shown + ' of ' + rows.length + ' players' : '';
    });
  }

  Array.prototype.forEach.call(document.querySelectorAll('table.sortable'), makeSortable);
  var search = document.getElementById('player-search');
  if (search) setUpSearch(search);
})();
)JS";

}  // namespace vexor
