// SPDX-License-Identifier: LGPL-2.1-or-later
// The shop floor page of `vxcut serve`: plain script, no build step, nothing
// fetched from anywhere but this service.
//
// Selectors (stable; tests and scripts may rely on them):
//   #tab-machines, #tab-journal           the tabs (aria-selected)
//   #offline                              banner while the live feed is down (hidden otherwise)
//   #notice                               the last refusal or error, in words
//   #machines .card[data-machine=NAME]    one machine's card
//     .lamp[data-link=connecting|up|reconnecting|down]
//     .job[data-job=ID][data-state=cutting][data-phase=...]   the entry on the machine
//       (.job.idle when none); img.preview (.preview.none without one),
//       .meter progress (the copy under the knife), .meter.whole progress, .copies, .remaining
//     button[data-action=pause|continue|stop][data-machine=NAME]      the running job
//     button[data-action=hold|release][data-machine=NAME]             the queue
//     ul.queue li[data-job=ID][data-state=queued|cutting|held|done|failed|cancelled]
//       every entry but the one .job shows: waiting ones, then li.divider and the last ended
//       button[data-action=up|down|cancel][data-job=ID]
//       button[data-action=settle][data-how=continue|recut|skip][data-job=ID]   held entries
//     input[type=file][data-machine=NAME], input.copies[type=number][data-machine=NAME],
//     button[data-action=add][data-machine=NAME]; a file dropped on the card is added
//     the same way (.card.dropping while one is dragged over it)
//     ul.events                           the machine's last events, newest first
//   #journal-filter: #filter-machine, #filter-outcome, #filter-file,
//     button[data-action=journal-refresh]
//   #journal-rows tr[data-id=ID] td[data-outcome=...]
// Every word comes from GET /api/texts (elements with data-text="key").
'use strict';

(function () {
  const locale = navigator.language || 'en';
  const shop = { texts: {}, plurals: new Intl.PluralRules('en'), cards: new Map(), queues: new Map(), stamps: new Map(), socket: null, backoff: 1000 };
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

  async function api(method, path, body, type) {
    const init = { method, credentials: 'same-origin', headers: {} };
    if (body !== undefined) {
      init.body = body;
      init.headers['Content-Type'] = type || 'application/json';
    }
    const reply = await fetch(path, init);
    let data = {};
    try { data = await reply.json(); } catch (e) { data = {}; }
    if (reply.status === 401) throw new Error(t('auth.needed'));
    if (!reply.ok) throw new Error(data.error || String(reply.status));
    return data;
  }
  function act(promise) { promise.then(() => notice(''), (e) => notice(t('notice.failed', e.message))); }

  // --- machine cards ---------------------------------------------------
  function cardNode(name) {
    const grid = document.getElementById('machines');
    let card = grid.querySelector(`.card[data-machine="${CSS.escape(name)}"]`);
    if (card) return card;
    const file = el('input', { type: 'file', 'aria-label': t('add.file'), dataset: { machine: name } });
    const copies = el('input', { type: 'number', class: 'copies', min: 1, max: 9999, value: 1,
      'aria-label': t('add.copies'), dataset: { machine: name } });
    card = el('article', { class: 'card', dataset: { machine: name, drop: t('add.drop', name) } },
      el('header', {},
        el('h2', {}, el('span', { class: 'lamp' }), el('span', { class: 'name', text: name }), el('span', { class: 'link-text' })),
        el('div', { class: 'facts' })),
      el('div', { class: 'body' },
        el('section', { class: 'now' }, el('div', { class: 'job idle' })),
        el('section', { class: 'line' },
          el('div', { class: 'queue-head' }),
          el('ul', { class: 'queue' }),
          el('div', { class: 'add' },
            el('label', { class: 'pick' }, file, el('span', { text: t('add.pick') })),
            el('span', { class: 'chosen' }),
            el('label', { class: 'count' }, el('span', { text: t('add.copies') }), copies),
            button('add', t('action.add'), { machine: name })))),
      el('details', {}, el('summary', { text: t('events.title') }), el('ul', { class: 'events' })));
    showChosen(card);
    grid.append(card);
    return card;
  }

  function showChosen(card) {
    const f = card.querySelector('input[type=file]').files[0];
    const chosen = card.querySelector('.chosen');
    chosen.textContent = f ? f.name : t('add.dropHint');
    chosen.title = chosen.textContent;
    chosen.classList.toggle('hint', !f);
  }

  function renderCard(c) {
    const before = shop.cards.get(c.name);
    shop.cards.set(c.name, c);
    const card = cardNode(c.name);
    const lamp = card.querySelector('.lamp');
    lamp.dataset.link = c.link;
    card.querySelector('.link-text').textContent = t('link.' + c.link);
    const facts = [t('machine.target', c.target)];
    if (c.device_id) facts.push(t('machine.device', c.device_id));
    if (c.work_area && c.work_area.width) facts.push(t('machine.area', num(c.work_area.width), num(c.work_area.height)));
    // Each fact stays whole; lines break only after a separator.
    card.querySelector('.facts').replaceChildren(...facts.flatMap((f, i) =>
      [i ? '\u00a0· ' : '', el('span', { class: 'fact', text: f, title: f })]));
    renderJob(card, c);
    // The entry on the machine leaves the list for the job panel.
    const jobId = (x) => (x && x.job ? String(x.job.id) : '');
    if (jobId(before) !== jobId(c) && shop.queues.has(c.name)) renderQueue(c.name, shop.queues.get(c.name));
    const head = card.querySelector('.queue-head');
    head.replaceChildren(...[el('strong', { text: t('queue.title') }),
      c.paused ? el('span', { class: 'paused-note', text: t('machine.paused') }) : null,
      button(c.paused ? 'release' : 'hold', t(c.paused ? 'action.release' : 'action.hold'), { machine: c.name })]
      .filter(Boolean));
    const events = (c.events || []).slice(-8).reverse();
    card.querySelector('.events').replaceChildren(...events.map((e) => el('li', { text: when(e.time) + '  ' + e.text })));
    fillMachineFilter();
  }

  function meter(row, fraction) {
    const bar = row.querySelector('progress');
    if (fraction === null) bar.removeAttribute('value'); else bar.value = Math.round(fraction * 1000) / 10;
    row.querySelector('.pct').textContent = fraction === null ? '' : percents.format(fraction);
  }

  function renderJob(card, c) {
    const job = card.querySelector('.job');
    const j = c.job;
    if (!j) {
      job.className = 'job idle';
      for (const key of ['job', 'phase', 'state']) delete job.dataset[key];
      job.replaceChildren(el('p', { text: t('job.none') }));
      return;
    }
    if (job.dataset.job !== String(j.id)) {
      job.className = 'job';
      job.dataset.job = j.id;
      const img = el('img', { class: 'preview', alt: '', src: `/api/jobs/${j.id}/preview` });
      img.addEventListener('error', () => img.replaceWith(el('div', { class: 'preview none', text: t('job.noPreview') })));
      job.replaceChildren(img, el('div', { class: 'details' },
        el('div', { class: 'title' }, el('span', { class: 'name' }), el('span', { class: 'state' })),
        el('div', { class: 'meter' }, el('span', { class: 'copies' }), el('progress', { max: 100 }), el('span', { class: 'pct' })),
        el('div', { class: 'meter whole' }, el('span', { text: t('job.whole') }), el('progress', { max: 100 }), el('span', { class: 'pct' })),
        el('div', { class: 'remaining' }),
        el('div', { class: 'buttons' })));
    }
    const phase = j.phase || 'cutting';
    job.dataset.phase = phase;
    job.dataset.state = j.state || 'cutting';
    const name = job.querySelector('.name');
    name.textContent = name.title = j.file;
    const badge = job.querySelector('.state');
    badge.dataset.state = phase;
    badge.textContent = t('phase.' + phase);
    // The machine reports the copy under the knife; the job is the copies
    // already cut plus that part.
    const copies = Math.max(1, j.copies || 1), done = Math.min(Math.max(0, j.finished || 0), copies);
    const part = j.percent >= 0 ? Math.min(j.percent, 100) / 100 : null;
    job.querySelector('.copies').textContent = t('job.copy', num(Math.min(done + 1, copies)), num(copies));
    meter(job.querySelector('.meter'), part);
    const whole = job.querySelector('.meter.whole');
    whole.hidden = copies < 2;
    meter(whole, Math.min(1, (done + (part || 0)) / copies));
    job.querySelector('.remaining').textContent = j.remaining_s >= 0 ? t('job.remaining', duration(j.remaining_s)) : '';
    // Redrawn only on a change: a button swapped under the pointer loses its click.
    const want = phase === 'paused' ? 'continue' : 'pause';
    const buttons = job.querySelector('.buttons');
    if (!buttons.firstChild || buttons.firstChild.dataset.action !== want)
      buttons.replaceChildren(button(want, t('action.' + want), { machine: c.name }), button('stop', t('action.stop'), { machine: c.name }));
  }

  const ENDED = ['done', 'failed', 'cancelled'];
  const RECENT = 5;

  function queueRow(j, queued) {
    const data = { job: j.id };
    const actions = el('div', { class: 'buttons' });
    if (j.state === 'queued') {
      const up = button('up', '↑', data, { title: t('action.up'), 'aria-label': t('action.up') });
      const down = button('down', '↓', data, { title: t('action.down'), 'aria-label': t('action.down') });
      up.disabled = j.position <= 0;
      down.disabled = j.position >= queued - 1;
      actions.append(up, down);
    }
    if (!ENDED.includes(j.state)) actions.append(button('cancel', t('action.cancel'), data));
    const total = Math.max(1, j.copies || 1), done = j.finished || 0;
    const meta = (done > 0 && done < total ? plural('copiesCut', total, num(done), num(total)) : plural('copies', total, num(total)))
      + ' · ' + t('queue.added', j.added_by || '', lately(j.added_at));
    const li = el('li', { dataset: { job: j.id, state: j.state } },
      el('div', { class: 'title' }, el('span', { class: 'file', text: j.file, title: j.file }),
        el('span', { class: 'state', dataset: { state: j.state }, text: t('state.' + j.state) })),
      actions,
      el('div', { class: 'meta', text: meta, title: meta }));
    if (j.message || j.state === 'held') {
      const note = el('div', { class: 'note' }, j.message ? el('span', { class: 'message', text: j.message, title: j.message }) : null);
      if (j.state === 'held')
        for (const how of ['continue', 'recut', 'skip']) note.append(button('settle', t('action.' + how), Object.assign({ how }, data)));
      li.append(note);
    }
    return li;
  }

  // Held and queued entries in turn, then the last few that ended. The entry
  // the job panel shows is not listed again.
  function renderQueue(name, jobs) {
    shop.queues.set(name, jobs);
    const card = cardNode(name);
    const shown = card.querySelector('.job').dataset.job;
    const listed = jobs.filter((j) => String(j.id) !== shown);
    const waiting = listed.filter((j) => !ENDED.includes(j.state));
    const ended = listed.filter((j) => ENDED.includes(j.state)).slice(0, RECENT);
    const queued = jobs.filter((j) => j.state === 'queued').length;
    const rows = waiting.length ? waiting.map((j) => queueRow(j, queued)) : [el('li', { class: 'empty', text: t('queue.empty') })];
    if (ended.length) rows.push(el('li', { class: 'divider', text: t('queue.ended') }), ...ended.map((j) => queueRow(j, queued)));
    card.querySelector('.queue').replaceChildren(...rows);
  }

  async function loadQueue(name) {
    const stamp = shop.stamps.get(name) || 0;
    try {
      const data = await api('GET', `/api/machines/${encodeURIComponent(name)}/queue?ended=5`);
      // A live update that came in meanwhile is newer than this answer.
      if ((shop.stamps.get(name) || 0) === stamp) renderQueue(name, data.jobs || []);
    } catch (e) { notice(t('notice.failed', e.message)); }
  }

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
        for (const c of m.machines || []) { renderCard(c); loadQueue(c.name); }
      } else if (m.type === 'machine' && m.machine) {
        renderCard(m.machine);
      } else if (m.type === 'queue' && m.machine) {
        shop.stamps.set(m.machine, (shop.stamps.get(m.machine) || 0) + 1);
        renderQueue(m.machine, m.jobs || []);
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
  function post(path, body) { return api('POST', path, body === undefined ? undefined : JSON.stringify(body)); }

  function upload(name, f) {
    const card = cardNode(name);
    const input = card.querySelector('input[type=file]');
    if (!f) { notice(t('add.choose')); return; }
    const n = Math.max(1, Math.min(9999, parseInt(card.querySelector('input.copies').value, 10) || 1));
    const path = `/api/machines/${encodeURIComponent(name)}/jobs?name=${encodeURIComponent(f.name)}&copies=${n}`;
    api('POST', path, f, 'application/octet-stream').then(() => {
      notice('');
      if (input.files[0] === f) { input.value = ''; showChosen(card); }
    }, (e) => notice(t('notice.failed', e.message)));
  }

  // A file dragged over a card lights it up; dropped, it goes the way the
  // button sends it. dragleave misses cards redrawn under the pointer, and
  // dragover repeats only every few hundred ms while the pointer rests, so
  // a quiet spell longer than that also ends the highlight.
  function wireDrops(grid) {
    const files = (e) => !!e.dataTransfer && [...e.dataTransfer.types].includes('Files');
    let timer = 0;
    const light = (card) => {
      for (const other of grid.querySelectorAll('.card.dropping')) if (other !== card) other.classList.remove('dropping');
      if (card) card.classList.add('dropping');
      clearTimeout(timer);
      if (card) timer = setTimeout(() => light(null), 800);
    };
    grid.addEventListener('dragover', (e) => {
      const card = e.target.closest('.card');
      if (!card || !files(e)) return;
      e.preventDefault();
      e.dataTransfer.dropEffect = 'copy';
      light(card);
    });
    grid.addEventListener('dragleave', (e) => {
      const card = e.target.closest('.card');
      if (card && !card.contains(e.relatedTarget)) light(null);
    });
    grid.addEventListener('drop', (e) => {
      const card = e.target.closest('.card');
      if (!card || !files(e)) return;
      e.preventDefault();
      light(null);
      upload(card.dataset.machine, e.dataTransfer.files[0]);
    });
    // Dropped beside the cards, the browser would leave the page to show the file.
    for (const type of ['dragover', 'drop']) window.addEventListener(type, (e) => { if (files(e)) e.preventDefault(); });
  }

  function onClick(event) {
    const b = event.target.closest('button[data-action]');
    if (!b) return;
    const { action, machine, job, how } = b.dataset;
    const machinePath = machine ? `/api/machines/${encodeURIComponent(machine)}` : '';
    switch (action) {
    case 'add': upload(machine, cardNode(machine).querySelector('input[type=file]').files[0]); break;
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
  function fillMachineFilter() {
    const select = document.getElementById('filter-machine');
    for (const name of shop.cards.keys()) {
      if (![...select.options].some((o) => o.value === name)) select.append(el('option', { value: name, text: name }));
    }
  }

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
    } catch (e) { notice(t('notice.failed', e.message)); }
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
    grid.addEventListener('change', (e) => { if (e.target.type === 'file') showChosen(e.target.closest('.card')); });
    wireDrops(grid);
    document.getElementById('tabs').addEventListener('click', (e) => {
      const tab = e.target.closest('[data-tab]');
      if (tab) showTab(tab.dataset.tab);
    });
    document.getElementById('journal-filter').addEventListener('submit', (e) => { e.preventDefault(); loadJournal(); });
    if (location.hash === '#journal') showTab('journal');
    connect();
  }

  start();
})();
