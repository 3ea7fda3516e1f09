#include "plot/QualityPage.h"

#include "plot/XmlText.h"

namespace plot {

namespace {

constexpr char kStyle[] = R"(
body { font: 14px/1.4 system-ui, sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.5em; margin: 0 0 .5em; }
h2 { font-size: 1.15em; margin: 1.2em 0 .4em; }
.summary { display: flex; gap: 2em; flex-wrap: wrap; }
.summary div { background: #f3f3f3; padding: .5em 1em; border-radius: 4px; }
.summary b { font-size: 1.4em; display: block; }
table.runs { border-collapse: collapse; font-size: 12px; }
table.runs th, table.runs td { border-bottom: 1px solid #ddd; padding: 2px 6px; text-align: right;
  white-space: nowrap; }
table.runs th { cursor: pointer; background: #eee; position: sticky; top: 0; }
table.runs th.sorted-up::after { content: " \25B2"; }
table.runs th.sorted-down::after { content: " \25BC"; }
table.runs td.name, table.runs td.reasons { text-align: left; }
table.runs td.reasons { white-space: normal; min-width: 20em; }
table.runs tr.stands-out td { background: #fff1e6; }
table.runs tr.selected td { outline: 2px solid #36c; }
table.runs tbody tr { cursor: pointer; }
.detail { display: flex; gap: 2em; flex-wrap: wrap; align-items: flex-start; }
.detail img { max-width: 480px; max-height: 640px; border: 1px solid #ccc; }
.strip { display: flex; flex-wrap: wrap; gap: 4px; }
.strip img { height: 90px; width: 60px; object-fit: fill; border: 2px solid #ddd; cursor: pointer; }
.strip img.stands-out { border-color: #e67e22; }
table.heat { border-collapse: collapse; font-size: 10px; }
table.heat td { width: 22px; height: 22px; text-align: center; }
table.heat th { font-weight: normal; text-align: right; padding-right: 4px; }
table.heat th.top { writing-mode: vertical-rl; transform: rotate(180deg); text-align: left; }
ul.reasons { color: #a04000; }
)";

constexpr char kScript[] = R"(
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('qc-data').textContent);
  var runs = data.runs;
  var columns = [
    ['run', 'run', 'text'], ['result', 'result', 'text'], ['volumes', 'volumes'], ['tr', 'TR (ms)'],
    ['predictors', 'predictors'], ['condition_number', 'condition number'],
    ['max_r_task', 'max |r| task'], ['max_r_confound', 'max |r| confound'],
    ['vif_max', 'largest VIF'], ['efficiency_min', 'smallest efficiency'],
    ['zero_predictors', 'zero predictors'], ['events_past_end', 'events past end'],
    ['fd_mean', 'FD mean (mm)'], ['fd_max', 'FD max (mm)'], ['fd_share', 'FD > 0.5 mm'],
    ['reasons', 'stands out because', 'text']
  ];
  function num(v) {
    if (v === null || v === undefined) return NaN;
    if (v === 'inf') return Infinity;
    if (v === '-inf') return -Infinity;
    return Number(v);
  }
  function extreme(list, pick) {
    var best = NaN;
    (list || []).forEach(function (f) {
      var v = num(f.value);
      if (!isNaN(v) && (isNaN(best) || pick(v, best))) best = v;
    });
    return best;
  }
  runs.forEach(function (r, i) {
    r.index = i;
    r.vif_max = extreme(r.vif, function (a, b) { return a > b; });
    r.efficiency_min = extreme(r.efficiency, function (a, b) { return a < b; });
    r.reasons_text = r.reasons.map(function (x) { return x.text; }).join('; ');
  });
  function show(v) {
    if (typeof v === 'string') return v;
    var n = num(v);
    if (isNaN(n)) return 'n/a';
    if (!isFinite(n)) return n > 0 ? 'inf' : '-inf';
    return String(Number(n.toPrecision(6)));
  }
  function key(r, column) {
    if (column === 'reasons') return r.reasons_text;
    return r[column];
  }
  function address(path) {
    return escape(path.split('/').map(encodeURIComponent).join('/'));
  }
  function escape(t) {
    return String(t).replace(/[&<>"]/g, function (c) {
      return {'&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;'}[c];
    });
  }
  var order = runs.slice().sort(function (a, b) {
    var sa = a.stands_out ? 0 : 1, sb = b.stands_out ? 0 : 1;
    return sa - sb || a.index - b.index;
  });
  var table = document.getElementById('runs');
  var head = table.tHead.rows[0];
  var body = table.tBodies[0];
  var sorted = {column: null, up: true};
  columns.forEach(function (c) {
    var th = document.createElement('th');
    th.textContent = c[1];
    th.dataset.column = c[0];
    th.addEventListener('click', function () { sortBy(c); });
    head.appendChild(th);
  });
  function render() {
    var html = [];
    order.forEach(function (r) {
      html.push('<tr data-index="' + r.index + '"' + (r.stands_out ? ' class="stands-out"' : '') + '>');
      columns.forEach(function (c) {
        var cls = c[0] === 'run' ? ' class="name"' : c[0] === 'reasons' ? ' class="reasons"' : '';
        html.push('<td' + cls + '>' + escape(show(key(r, c[0]))) + '</td>');
      });
      html.push('</tr>');
    });
    body.innerHTML = html.join('');
  }
  function compare(c, a, b) {
    var x = key(a, c[0]), y = key(b, c[0]);
    if (c[2] === 'text') return String(x).localeCompare(String(y));
    var u = num(x), v = num(y);
    if (isNaN(u) && isNaN(v)) return 0;
    if (isNaN(u)) return 1;
    if (isNaN(v)) return -1;
    return u < v ? -1 : u > v ? 1 : 0;
  }
  function sortBy(c) {
    sorted.up = sorted.column === c[0] ? !sorted.up : true;
    sorted.column = c[0];
    order.sort(function (a, b) {
      var d = compare(c, a, b);
      var missing = c[2] !== 'text' && (isNaN(num(key(a, c[0]))) || isNaN(num(key(b, c[0]))));
      return (sorted.up || missing ? d : -d) || a.index - b.index;
    });
    Array.prototype.forEach.call(head.cells, function (th) {
      th.className = th.dataset.column !== c[0] ? '' : sorted.up ? 'sorted-up' : 'sorted-down';
    });
    render();
  }
  function heat(h) {
    var names = h.names, n = names.length, k = 0, cells = [];
    for (var i = 0; i < n; i++) cells.push(new Array(n));
    for (i = 0; i < n; i++) {
      cells[i][i] = 1;
      for (var j = i + 1; j < n; j++) { cells[i][j] = cells[j][i] = h.r[k++]; }
    }
    var html = ['<table class="heat"><tr><th></th>'];
    names.forEach(function (name) { html.push('<th class="top">' + escape(name) + '</th>'); });
    html.push('</tr>');
    for (i = 0; i < n; i++) {
      html.push('<tr><th>' + escape(names[i]) + '</th>');
      for (j = 0; j < n; j++) {
        var r = cells[i][j];
        var colour = r === null ? '#ccc' : r >= 0
          ? 'rgb(255,' + Math.round(255 * (1 - r)) + ',' + Math.round(255 * (1 - r)) + ')'
          : 'rgb(' + Math.round(255 * (1 + r)) + ',' + Math.round(255 * (1 + r)) + ',255)';
        var title = escape(names[i] + ' / ' + names[j] + ': ' + (r === null ? 'n/a' : r));
        html.push('<td style="background:' + colour + '" title="' + title + '"></td>');
      }
      html.push('</tr>');
    }
    html.push('</table>');
    return html.join('');
  }
  function select(index) {
    var r = runs[index];
    Array.prototype.forEach.call(body.rows, function (row) {
      row.classList.toggle('selected', Number(row.dataset.index) === index);
    });
    var html = ['<h2>' + escape(r.run) + '</h2><div class="detail"><div>'];
    if (r.picture) html.push('<img loading="lazy" alt="design" src="' + address(r.picture) + '">');
    html.push('</div><div>');
    if (r.reasons.length) {
      html.push('<ul class="reasons">');
      r.reasons.forEach(function (x) { html.push('<li>' + escape(x.text) + '</li>'); });
      html.push('</ul>');
    }
    if (r.error) html.push('<p>' + escape(r.error) + '</p>');
    html.push('<table class="runs"><tr><th>predictor</th><th>VIF</th><th>efficiency</th></tr>');
    (r.vif || []).forEach(function (f, i) {
      html.push('<tr><td class="name">' + escape(f.name) + '</td><td>' + show(f.value) +
                '</td><td>' + show(r.efficiency[i].value) + '</td></tr>');
    });
    html.push('</table>');
    [['max_r_task_pair', 'task'], ['max_r_confound_pair', 'task / confound']].forEach(function (p) {
      var pair = r[p[0]];
      if (pair) html.push('<p>largest |r| ' + p[1] + ': ' + show(Math.abs(num(pair.r))) + ' (' +
                          escape(pair.first) + ', ' + escape(pair.second) + ')</p>');
    });
    html.push('<p>result of the pair: ' + escape(r.result) +
              (r.result_reasons.length ? ': ' + escape(r.result_reasons.join('; ')) : '') + '</p>');
    if (r.heat && r.heat.names.length > 1) html.push('<h2>Correlations</h2>' + heat(r.heat));
    html.push('</div></div>');
    var detail = document.getElementById('detail');
    detail.innerHTML = html.join('');
    detail.hidden = false;
  }
  body.addEventListener('click', function (event) {
    var row = event.target.closest('tr');
    if (row) select(Number(row.dataset.index));
  });
  var strip = document.getElementById('strip');
  var pictures = [];
  order.forEach(function (r) {
    if (!r.picture) return;
    pictures.push('<img loading="lazy" alt="" data-index="' + r.index + '" title="' +
                  escape(r.run) + '"' + (r.stands_out ? ' class="stands-out"' : '') +
                  ' data-src="' + address(r.picture) + '">');
  });
  strip.innerHTML = pictures.join('');
  // Each small picture is fetched only when it comes near the window: a study's thousand
  // pictures would otherwise all be drawn at once.
  var thumbnails = strip.querySelectorAll('img');
  if ('IntersectionObserver' in window) {
    var watcher = new IntersectionObserver(function (entries) {
      entries.forEach(function (entry) {
        if (!entry.isIntersecting) return;
        entry.target.src = entry.target.dataset.src;
        watcher.unobserve(entry.target);
      });
    }, {rootMargin: '300px'});
    Array.prototype.forEach.call(thumbnails, function (image) { watcher.observe(image); });
  } else {
    Array.prototype.forEach.call(thumbnails, function (image) { image.src = image.dataset.src; });
  }
  strip.addEventListener('click', function (event) {
    var image = event.target.closest('img');
    if (image) select(Number(image.dataset.index));
  });
  render();
  if (order.length) select(order[0].index);
})();
)";

std::string count(std::size_t value) {
    return std::to_string(value);
}

}  // namespace

std::string qualityPage(const StudyQuality& study, const std::string& json) {
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    page += "<title>Study quality: " + count(study.runs.size()) + " runs</title>\n<style>";
    page += kStyle;
    page += "</style>\n</head>\n<body>\n<h1>Study quality</h1>\n<div class=\"summary\">\n";
    page += "<div id=\"count-runs\"><b>" + count(study.runs.size()) + "</b>runs</div>\n";
    page += "<div id=\"count-failed\"><b>" + count(study.failed()) + "</b>failed</div>\n";
    page += "<div id=\"count-standing-out\"><b>" + count(study.standingOut()) +
            "</b>standing out</div>\n";
    for (const auto& [kind, runs] : study.byReason()) {
        page += "<div class=\"reason\"><b>" + count(runs) + "</b>" + xmlText(kind) + "</div>\n";
    }
    page +=
        "</div>\n<details id=\"spreads\"><summary>The study's medians and spreads (MAD x "
        "1.4826)</summary>\n<table class=\"runs\"><tr><th>figure</th><th>runs</th>"
        "<th>median</th><th>spread</th></tr>\n";
    for (const FigureSpread& spread : study.spreads) {
        page += "<tr><td class=\"name\">" + xmlText(spread.figure) + "</td><td>" +
                count(spread.runs) + "</td><td>" + figureText(spread.median) + "</td><td>" +
                figureText(spread.spread) + "</td></tr>\n";
    }
    page += "</table></details>\n<h2>Runs</h2>\n";
    page +=
        "<noscript><p>The table needs JavaScript; qc.tsv beside this page holds the same "
        "figures.</p></noscript>\n";
    page += "<table class=\"runs\" id=\"runs\"><thead><tr></tr></thead><tbody></tbody></table>\n";
    page += "<section id=\"detail\" hidden></section>\n";
    page += "<h2>All designs</h2>\n<div class=\"strip\" id=\"strip\"></div>\n";
    page += "<script type=\"application/json\" id=\"qc-data\">" + json + "</script>\n";
    page += "<script>";
    page += kScript;
    page += "</script>\n</body>\n</html>\n";
    return page;
}

}  // namespace plot
