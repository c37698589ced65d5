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
//     .job[data-job=ID][data-phase=...]   the running job (.job.idle when none)
//       img.preview, progress, .copies, .remaining
//     button[data-action=pause|continue|stop][data-machine=NAME]      the running job
//     button[data-action=hold|release][data-machine=NAME]             the queue
//     ul.queue li[data-job=ID][data-state=queued|cutting|held|done|failed|cancelled]
//       button[data-action=up|down|cancel][data-job=ID]
//       button[data-action=settle][data-how=continue|recut|skip][data-job=ID]   held entries
//     input[type=file][data-machine=NAME], input.copies[type=number][data-machine=NAME],
//     button[data-action=add][data-machine=NAME]
//     ul.events                           the machine's last events, newest first
//   #journal-filter: #filter-machine, #filter-outcome, #filter-file,
//     button[data-action=journal-refresh]
//   #journal-rows tr[data-id=ID] td[data-outcome=...]
// Every word comes from GET /api/texts (elements with data-text="key").
'use strict';

(function () {
  const locale = navigator.language || 'en';
  const shop = { texts: {}, cards: new Map(), queues: new Map(), stamps: new Map(), socket: null, backoff: 1000 };
  const numbers = new Intl.NumberFormat(locale);
  const percents = new Intl.NumberFormat(locale, { style: 'percent', maximumFractionDigits: 0 });
  const times = new Intl.DateTimeFormat(locale, { dateStyle: 'short', timeStyle: 'medium' });

  function t(key, ...args) {
    let text = shop.texts[key] || key;
    args.forEach((a, i) => { text = text.split('%' + (i + 1)).join(String(a)); });
    return text;
  }
  function num(n) { return numbers.format(n); }
  function when(iso) { const d = iso ? new Date(iso) : null; return d && !isNaN(d) ? times.format(d) : ''; }
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
  function button(action, label, data) {
    return el('button', { type: 'button', text: label, dataset: Object.assign({ action }, data) });
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
      'aria-label': t('add.copies'), title: t('add.copies'), dataset: { machine: name } });
    card = el('article', { class: 'card', dataset: { machine: name } },
      el('h2', {}, el('span', { class: 'lamp' }), el('span', { class: 'name', text: name }), el('span', { class: 'link-text' })),
      el('div', { class: 'facts' }),
      el('div', { class: 'job idle' }),
      el('div', { class: 'buttons job-buttons' }),
      el('div', { class: 'queue-head' }),
      el('ul', { class: 'queue' }),
      el('div', { class: 'add' }, file, el('label', {}, el('span', { text: t('add.copies') + ' ' }), copies),
        button('add', t('action.add'), { machine: name })),
      el('details', {}, el('summary', { text: t('events.title') }), el('ul', { class: 'events' })));
    grid.append(card);
    return card;
  }

  function renderCard(c) {
    shop.cards.set(c.name, c);
    const card = cardNode(c.name);
    const lamp = card.querySelector('.lamp');
    lamp.dataset.link = c.link;
    card.querySelector('.link-text').textContent = t('link.' + c.link);
    const facts = [t('machine.target', c.target)];
    if (c.device_id) facts.push(t('machine.device', c.device_id));
    if (c.work_area && c.work_area.width) facts.push(t('machine.area', num(c.work_area.width), num(c.work_area.height)));
    card.querySelector('.facts').textContent = facts.join(' · ');
    renderJob(card, c);
    const head = card.querySelector('.queue-head');
    head.replaceChildren(...[el('strong', { text: t('queue.title') }),
      c.paused ? el('span', { class: 'paused-note', text: t('machine.paused') }) : null,
      button(c.paused ? 'release' : 'hold', t(c.paused ? 'action.release' : 'action.hold'), { machine: c.name })]
      .filter(Boolean));
    const events = (c.events || []).slice(-8).reverse();
    card.querySelector('.events').replaceChildren(...events.map((e) => el('li', { text: when(e.time) + '  ' + e.text })));
    fillMachineFilter();
  }

  function renderJob(card, c) {
    const job = card.querySelector('.job');
    const buttons = card.querySelector('.job-buttons');
    const j = c.job;
    if (!j) {
      job.className = 'job idle';
      delete job.dataset.job;
      delete job.dataset.phase;
      job.replaceChildren(document.createTextNode(t('job.none')));
      buttons.replaceChildren();
      return;
    }
    if (job.dataset.job !== String(j.id)) {
      job.className = 'job';
      job.dataset.job = j.id;
      job.replaceChildren(el('img', { class: 'preview', alt: '', src: `/api/jobs/${j.id}/preview` }),
        el('div', {}, el('div', { class: 'name' }), el('progress', { max: 100 }),
          el('div', { class: 'copies' }), el('div', { class: 'remaining' })));
    }
    job.dataset.phase = j.phase || '';
    job.querySelector('.name').textContent = j.file + ' — ' + t('phase.' + (j.phase || 'cutting'));
    const bar = job.querySelector('progress');
    if (j.percent >= 0) bar.value = j.percent; else bar.removeAttribute('value');
    job.querySelector('.copies').textContent = t('job.copies', num(j.finished || 0), num(j.copies || 1))
      + (j.percent >= 0 ? ' · ' + percents.format(j.percent / 100) : '');
    job.querySelector('.remaining').textContent = j.remaining_s >= 0 ? t('job.remaining', duration(j.remaining_s)) : '';
    const paused = j.phase === 'paused';
    buttons.replaceChildren(button(paused ? 'continue' : 'pause', t(paused ? 'action.continue' : 'action.pause'), { machine: c.name }),
      button('stop', t('action.stop'), { machine: c.name }));
  }

  function renderQueue(name, jobs) {
    shop.queues.set(name, jobs);
    const list = cardNode(name).querySelector('.queue');
    if (!jobs.length) {
      list.replaceChildren(el('li', { class: 'empty', text: t('queue.empty') }));
      return;
    }
    const queued = jobs.filter((j) => j.state === 'queued');
    list.replaceChildren(...jobs.map((j) => {
      const data = { job: j.id };
      const actions = el('div', { class: 'buttons' });
      if (j.state === 'queued') {
        const up = button('up', t('action.up'), data), down = button('down', t('action.down'), data);
        up.disabled = j.position <= 0;
        down.disabled = j.position >= queued.length - 1;
        actions.append(up, down);
      }
      if (j.state === 'held') {
        for (const how of ['continue', 'recut', 'skip'])
          actions.append(button('settle', t('action.' + how), Object.assign({ how }, data)));
      }
      if (['queued', 'cutting', 'held'].includes(j.state)) actions.append(button('cancel', t('action.cancel'), data));
      return el('li', { dataset: { job: j.id, state: j.state } },
        el('span', {}, el('span', { class: 'file', text: j.file + ' ' }),
          el('span', { class: 'state', dataset: { state: j.state }, text: t('state.' + j.state) })),
        actions,
        el('span', { class: 'meta', text: t('queue.copies', num(j.finished || 0), num(j.copies)) + ' · '
          + t('queue.added', j.added_by || '', when(j.added_at)) }),
        j.message ? el('span', { class: 'message', text: j.message }) : null);
    }));
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

  function upload(name) {
    const card = cardNode(name);
    const file = card.querySelector('input[type=file]');
    const copies = card.querySelector('input.copies');
    if (!file.files.length) { notice(t('add.choose')); return; }
    const f = file.files[0];
    const n = Math.max(1, Math.min(9999, parseInt(copies.value, 10) || 1));
    const path = `/api/machines/${encodeURIComponent(name)}/jobs?name=${encodeURIComponent(f.name)}&copies=${n}`;
    api('POST', path, f, 'application/octet-stream').then(() => {
      notice('');
      file.value = '';
    }, (e) => notice(t('notice.failed', e.message)));
  }

  function onClick(event) {
    const b = event.target.closest('button[data-action]');
    if (!b) return;
    const { action, machine, job, how } = b.dataset;
    const machinePath = machine ? `/api/machines/${encodeURIComponent(machine)}` : '';
    switch (action) {
    case 'add': upload(machine); break;
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
    } catch (e) { notice(e.message); }
    for (const node of document.querySelectorAll('[data-text]')) node.textContent = t(node.dataset.text);
    document.title = t('title');
    document.getElementById('machines').addEventListener('click', onClick);
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
