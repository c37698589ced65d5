// SPDX-License-Identifier: LGPL-2.1-or-later
// A machine's card: its link, the entry on the machine, its queue, the add
// line (a design file by upload or by drop). Selectors: see shop.js.
'use strict';

(function () {
  const shop = window.vxshop;
  const { t, plural, num, percent, when, lately, duration, el, button, notice, api, failed } = shop;

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
            button('add', t('action.add'), { machine: name }),
            shop.nestControl(name)))),
      el('details', {}, el('summary', { text: t('events.title') }), el('ul', { class: 'events' })));
    showChosen(card);
    grid.append(card);
    return card;
  }

  function designInput(card) { return card.querySelector('input[type=file]:not([data-kind=nest])'); }

  function showChosen(card) {
    const f = designInput(card).files[0];
    const chosen = card.querySelector('.add > .chosen');
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
    shop.fillMachineFilter();
  }

  function meter(row, fraction) {
    const bar = row.querySelector('progress');
    if (fraction === null) bar.removeAttribute('value'); else bar.value = Math.round(fraction * 1000) / 10;
    row.querySelector('.pct').textContent = fraction === null ? '' : percent(fraction);
  }

  const isNest = (j) => j.kind === 'nest';

  function newPanel(job, j) {
    job.className = 'job';
    job.dataset.job = j.id;
    job.dataset.kind = j.kind || 'design';
    let picture;
    if (isNest(j)) {
      // Laid out only when cut: nothing to show before.
      picture = el('div', { class: 'preview none nest' },
        el('strong', { text: t('kind.nest') }), el('span', { text: plural('parts', shop.pieces(j), num(shop.pieces(j))) }));
    } else {
      picture = el('img', { class: 'preview', alt: '', src: `/api/jobs/${j.id}/preview` });
      picture.addEventListener('error', () => picture.replaceWith(el('div', { class: 'preview none', text: t('job.noPreview') })));
    }
    job.replaceChildren(picture, el('div', { class: 'details' },
      el('div', { class: 'title' }, el('span', { class: 'name' }), shop.nestBadge(j), el('span', { class: 'state' })),
      el('div', { class: 'meter' }, el('span', { class: 'copies' }), el('progress', { max: 100 }), el('span', { class: 'pct' })),
      el('div', { class: 'meter whole' }, el('span', { text: t('job.whole') }), el('progress', { max: 100 }), el('span', { class: 'pct' })),
      el('div', { class: 'remaining' }),
      el('div', { class: 'buttons' })));
  }

  function renderJob(card, c) {
    const job = card.querySelector('.job');
    const j = c.job;
    if (!j) {
      job.className = 'job idle';
      for (const key of ['job', 'phase', 'state', 'kind']) delete job.dataset[key];
      job.replaceChildren(el('p', { text: t('job.none') }));
      return;
    }
    if (job.dataset.job !== String(j.id)) newPanel(job, j);
    const phase = j.phase || 'cutting';
    job.dataset.phase = phase;
    job.dataset.state = j.state || 'cutting';
    const name = job.querySelector('.name');
    name.textContent = j.file;
    name.title = shop.partList(j) || j.file;
    const badge = job.querySelector('.state');
    badge.dataset.state = phase;
    badge.textContent = t('phase.' + phase);
    const part = j.percent >= 0 ? Math.min(j.percent, 100) / 100 : null;
    const label = job.querySelector('.copies');
    const whole = job.querySelector('.meter.whole');
    if (isNest(j)) {
      // A nest is cut window by window, each a job of its own on the machine.
      const windows = Math.max(0, j.windows || 0), at = Math.min(Math.max(1, j.window || 1), Math.max(1, windows));
      const searching = phase === 'nesting' || !windows;
      label.textContent = searching ? t('job.nesting') : t('job.window', num(at), num(windows));
      meter(job.querySelector('.meter'), searching ? null : part);
      whole.hidden = searching || windows < 2;
      meter(whole, searching ? null : Math.min(1, (at - 1 + (part || 0)) / windows));
    } else {
      // The machine reports the copy under the knife; the job is the copies
      // already cut plus that part.
      const copies = Math.max(1, j.copies || 1), done = Math.min(Math.max(0, j.finished || 0), copies);
      label.textContent = t('job.copy', num(Math.min(done + 1, copies)), num(copies));
      meter(job.querySelector('.meter'), part);
      whole.hidden = copies < 2;
      meter(whole, Math.min(1, (done + (part || 0)) / copies));
    }
    job.querySelector('.remaining').textContent = j.remaining_s >= 0 && phase !== 'nesting' ? t('job.remaining', duration(j.remaining_s)) : '';
    // Redrawn only on a change: a button swapped under the pointer loses its
    // click. A nest being searched has nothing on the machine to pause.
    const want = phase === 'nesting' ? [] : [phase === 'paused' ? 'continue' : 'pause'];
    want.push('stop');
    const buttons = job.querySelector('.buttons');
    if ([...buttons.children].map((b) => b.dataset.action).join() !== want.join())
      buttons.replaceChildren(...want.map((action) => button(action, t('action.' + action), { machine: c.name })));
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
    const amount = isNest(j) ? plural('parts', shop.pieces(j), num(shop.pieces(j)))
      : done > 0 && done < total ? plural('copiesCut', total, num(done), num(total)) : plural('copies', total, num(total));
    const meta = amount + ' · ' + t('queue.added', j.added_by || '', lately(j.added_at));
    const li = el('li', { dataset: { job: j.id, state: j.state, kind: j.kind || 'design' } },
      el('div', { class: 'title' }, el('span', { class: 'file', text: j.file, title: shop.partList(j) || j.file }),
        shop.nestBadge(j), el('span', { class: 'state', dataset: { state: j.state }, text: t('state.' + j.state) })),
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
    } catch (e) { failed(e); }
  }

  function upload(name, f) {
    const card = cardNode(name);
    const input = designInput(card);
    if (!f) { notice(t('add.choose')); return; }
    const n = Math.max(1, Math.min(9999, parseInt(card.querySelector('input.copies').value, 10) || 1));
    const path = `/api/machines/${encodeURIComponent(name)}/jobs?name=${encodeURIComponent(f.name)}&copies=${n}`;
    api('POST', path, f, 'application/octet-stream').then(() => {
      notice('');
      if (input.files[0] === f) { input.value = ''; showChosen(card); }
    }, failed);
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

  Object.assign(shop, { cardNode, designInput, showChosen, renderCard, renderQueue, loadQueue, upload, wireDrops });
})();
