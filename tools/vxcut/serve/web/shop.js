// SPDX-License-Identifier: LGPL-2.1-or-later
// The shop floor page of `vxcut serve`: plain script, no build step, nothing
// fetched from anywhere but this service. This file holds what the others
// share (window.vxshop: words, formats, elements, the API), the live feed,
// the clicks and the journal; cards.js draws a machine's card, nest.js its
// nest control. Loaded in that order, deferred: start() runs once all are in.
//
// Selectors (stable; tests and scripts may rely on them):
//   #tab-machines, #tab-journal           the tabs (aria-selected)
//   #offline                              banner while the live feed is down (hidden otherwise)
//   #notice                               the last refusal or error, in words
//   #machines .card[data-machine=NAME]    one machine's card
//     .lamp[data-link=connecting|up|reconnecting|down]
//     .job[data-job=ID][data-state=cutting|queued][data-phase=...][data-kind=design|nest]
//       the entry on the machine (.job.idle when none; a nest is still queued in phase nesting);
//       img.preview (.preview.none without one, .preview.none.nest for a nest),
//       .meter progress (the copy, or a nest's window, under the knife; .copies says which),
//       .meter.whole progress, .remaining
//     button[data-action=pause|continue|stop][data-machine=NAME]      the running job
//     button[data-action=hold|release][data-machine=NAME]             the queue
//     ul.queue li[data-job=ID][data-state=queued|cutting|held|done|failed|cancelled][data-kind=design|nest]
//       every entry but the one .job shows: waiting ones, then li.divider and the last ended;
//       .kind[data-kind=nest] the nest badge, .meta its pieces ("7 parts"), .file's title the parts
//       button[data-action=up|down|cancel][data-job=ID]
//       button[data-action=settle][data-how=continue|recut|skip][data-job=ID]   held entries
//     input[type=file][data-machine=NAME] (the first one), input.copies[type=number][data-machine=NAME],
//     button[data-action=add][data-machine=NAME]; a file dropped on the card is added
//     the same way (.card.dropping while one is dragged over it)
//     details.nest[data-machine=NAME]     the nest control, collapsed until opened:
//       input[type=file][multiple][data-machine=NAME][data-kind=nest],
//       ul.parts li[data-part=INDEX] with input.quantity[data-part=INDEX] (in the files' order),
//       input.gap (mm), input.seconds (search time), button[data-action=nest][data-machine=NAME]
//     ul.events                           the machine's last events, newest first
//   #journal-filter: #filter-machine, #filter-outcome, #filter-file,
//     button[data-action=journal-refresh]
//   #journal-rows tr[data-id=ID] td[data-outcome=...]
// Every word comes from GET /api/texts (elements with data-text="key").
'use strict';

(function () {
  const locale = navigator.language || 'en';
  const shop = window.vxshop = { texts: {}, plurals: new Intl.PluralRules('en'), cards: new Map(), queues: new Map(),
    stamps: new Map(), socket: null, backoff: 1000 };
  const numbers = new Intl.NumberFormat(locale);
  const percents = new Intl.NumberFormat(locale, { style: 'percent', maximumFractionDigits: 0 });
  const times = new Intl.DateTimeFormat(locale, { dateStyle: 'short', timeStyle: 'medium' });
  const clock = new Intl.DateTimeFormat(locale, { timeStyle: 'short' });
  const day = new Intl.DateTimeFormat(locale, { dateStyle: 'short', timeStyle: 'short' });

  function t(key, ...args) {
    let text = shop.texts[key] || key;
    args.forEach((a, i) => { text = text.split('%' + (i + 1)).join(String(a)); });
    return text;
  }
  // "copies" + 1 -> the text of "copies.one" in English; languages with no
  // singular have only ".other".
  function plural(key, n, ...args) {
    const form = key + '.' + shop.plurals.select(n);
    return t(shop.texts[form] ? form : key + '.other', ...args);
  }
  function num(n) { return numbers.format(n); }
  function percent(fraction) { return percents.format(fraction); }
  function when(iso) { const d = iso ? new Date(iso) : null; return d && !isNaN(d) ? times.format(d) : ''; }
  // Today's times without the date: a queue row has one line for it.
  function lately(iso) {
    const d = iso ? new Date(iso) : null;
    if (!d || isNaN(d)) return '';
    return (d.toDateString() === new Date().toDateString() ? clock : day).format(d);
  }
  function duration(seconds) {
    if (!(seconds >= 0)) return '';
    const s = Math.round(seconds), h = Math.floor(s / 3600), m = Math.floor(s / 60) % 60;
    const two = (n) => String(n).padStart(2, '0');
    return (h > 0 ? num(h) + ':' + two(m) : num(m)) + ':' + two(s % 60);
  }

  function el(tag, attrs, ...children) {
    const node = document.createElement(tag);
    for (const [k, v] of Object.entries(attrs || {})) {
      if (v === undefined || v === null || v === false) continue;
      if (k === 'text') node.textContent = v;
      else if (k === 'dataset') Object.assign(node.dataset, v);
      else node.setAttribute(k, v === true ? '' : v);
    }
    for (const c of children) if (c) node.append(c);
    return node;
  }
  function button(action, label, data, attrs) {
    return el('button', Object.assign({ type: 'button', text: label, dataset: Object.assign({ action }, data) }, attrs));
  }

  function notice(text) {
    const n = document.getElementById('notice');
    n.textContent = text || '';
    n.hidden = !text;
  }

  // A FormData body brings its own type (with the boundary) and length.
  async function api(method, path, body, type) {
    const init = { method, credentials: 'same-origin', headers: {} };
    if (body !== undefined) {
      init.body = body;
      if (!(body instanceof FormData)) init.headers['Content-Type'] = type || 'application/json';
    }
    const reply = await fetch(path, init);
    let data = {};
    try { data = await reply.json(); } catch (e) { data = {}; }
    if (reply.status === 401) throw new Error(t('auth.needed'));
    if (!reply.ok) throw new Error(data.error || String(reply.status));
    return data;
  }
  function failed(e) { notice(t('notice.failed', e.message)); }
  function act(promise) { promise.then(() => notice(''), failed); }
  function post(path, body) { return api('POST', path, body === undefined ? undefined : JSON.stringify(body)); }

  Object.assign(shop, { t, plural, num, percent, when, lately, duration, el, button, notice, api, failed });

  // --- live feed ---------------------------------------------------------
  function connect() {
    const scheme = location.protocol === 'https:' ? 'wss://' : 'ws://';
    const socket = new WebSocket(scheme + location.host + '/api/live');
    shop.socket = socket;
    socket.onopen = () => { shop.backoff = 1000; document.getElementById('offline').hidden = true; };
    socket.onmessage = (event) => {
      let m;
      try { m = JSON.parse(event.data); } catch (e) { return; }
      if (m.type === 'hello') {
        const names = new Set((m.machines || []).map((c) => c.name));
        for (const card of document.querySelectorAll('#machines .card'))
          if (!names.has(card.dataset.machine)) card.remove();
        for (const c of m.machines || []) { shop.renderCard(c); shop.loadQueue(c.name); }
      } else if (m.type === 'machine' && m.machine) {
        shop.renderCard(m.machine);
      } else if (m.type === 'queue' && m.machine) {
        shop.stamps.set(m.machine, (shop.stamps.get(m.machine) || 0) + 1);
        shop.renderQueue(m.machine, m.jobs || []);
      }
    };
    socket.onclose = () => {
      document.getElementById('offline').hidden = false;
      const wait = shop.backoff;
      shop.backoff = Math.min(shop.backoff * 2, 30000);
      setTimeout(connect, wait + Math.random() * 250);
    };
  }

  // --- actions -----------------------------------------------------------
  function onClick(event) {
    const b = event.target.closest('button[data-action]');
    if (!b) return;
    const { action, machine, job, how } = b.dataset;
    const machinePath = machine ? `/api/machines/${encodeURIComponent(machine)}` : '';
    switch (action) {
    case 'add': shop.upload(machine, shop.designInput(shop.cardNode(machine)).files[0]); break;
    case 'nest': shop.sendNest(machine); break;
    case 'pause': case 'continue': case 'hold': case 'release':
      act(post(machinePath + '/control', { action })); break;
    case 'stop':
      if (confirm(t('confirm.stop', machine))) act(post(machinePath + '/control', { action })); break;
    case 'up': case 'down': {
      const entry = [...shop.queues.values()].flat().find((j) => String(j.id) === job);
      if (entry) act(post(`/api/jobs/${job}/move`, { position: entry.position + (action === 'up' ? -1 : 1) }));
      break;
    }
    case 'cancel':
      if (confirm(t('confirm.cancel'))) act(post(`/api/jobs/${job}/cancel`)); break;
    case 'settle': act(post(`/api/jobs/${job}/settle`, { action: how })); break;
    default: break;
    }
  }

  // --- journal -----------------------------------------------------------
  shop.fillMachineFilter = function () {
    const select = document.getElementById('filter-machine');
    for (const name of shop.cards.keys()) {
      if (![...select.options].some((o) => o.value === name)) select.append(el('option', { value: name, text: name }));
    }
  };

  async function loadJournal() {
    const form = new FormData(document.getElementById('journal-filter'));
    const query = new URLSearchParams({ limit: '200' });
    for (const key of ['machine', 'outcome', 'file']) if (form.get(key)) query.set(key, form.get(key));
    try {
      const data = await api('GET', '/api/journal?' + query.toString());
      const records = data.records || [];
      document.getElementById('journal-rows').replaceChildren(...records.map((r) => {
        const seconds = r.start && r.end ? (new Date(r.end) - new Date(r.start)) / 1000 : -1;
        return el('tr', { dataset: { id: r.id || '' } },
          el('td', { text: when(r.start) }), el('td', { text: r.machine || '' }),
          el('td', { text: r.name || (r.file || '').split(/[\\/]/).pop() }),
          el('td', { text: num(r.finished || 0) + ' / ' + num(r.copies || 0) }),
          el('td', { dataset: { outcome: r.outcome }, text: t('outcome.' + r.outcome) }),
          el('td', { text: duration(seconds) }));
      }));
      document.getElementById('journal-empty').hidden = records.length > 0;
      notice('');
    } catch (e) { failed(e); }
  }

  function showTab(name) {
    for (const tab of document.querySelectorAll('#tabs [data-tab]')) {
      const on = tab.dataset.tab === name;
      tab.setAttribute('aria-selected', String(on));
      document.getElementById(tab.dataset.tab).hidden = !on;
    }
    if (name === 'journal') loadJournal();
  }

  async function start() {
    try {
      const data = await api('GET', '/api/texts?lang=' + encodeURIComponent(locale));
      shop.texts = data.texts || {};
      document.documentElement.lang = (data.lang || 'en').replace('_', '-');
      shop.plurals = new Intl.PluralRules(document.documentElement.lang);
    } catch (e) { notice(e.message); }
    for (const node of document.querySelectorAll('[data-text]')) node.textContent = t(node.dataset.text);
    document.title = t('title');
    const grid = document.getElementById('machines');
    grid.addEventListener('click', onClick);
    grid.addEventListener('change', (e) => {
      if (e.target.type !== 'file') return;
      if (e.target.dataset.kind === 'nest') shop.showParts(e.target.closest('.card'));
      else shop.showChosen(e.target.closest('.card'));
    });
    shop.wireDrops(grid);
    document.getElementById('tabs').addEventListener('click', (e) => {
      const tab = e.target.closest('[data-tab]');
      if (tab) showTab(tab.dataset.tab);
    });
    document.getElementById('journal-filter').addEventListener('submit', (e) => { e.preventDefault(); loadJournal(); });
    if (location.hash === '#journal') showTab('journal');
    connect();
  }

  // Deferred scripts all run before DOMContentLoaded (readyState is already
  // "interactive" while they do): cards.js and nest.js are in by then.
  document.addEventListener('DOMContentLoaded', start);
})();
