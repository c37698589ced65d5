// SPDX-License-Identifier: LGPL-2.1-or-later
// Nests on a card: the control that sends several part files with their
// quantities as one queue entry (POST /api/machines/NAME/nests, a multipart
// form, one field "part" per file), and how such an entry reads in the
// queue and the job panel. Selectors: see shop.js.
'use strict';

(function () {
  const shop = window.vxshop;
  const { t, plural, num, el, button, notice, api, failed } = shop;

  // As the service takes them: ShopNest::MaxParts, PartList::MaxQuantity,
  // and the ranges ShopNest::job reads gap and time_s in.
  const MAX_PARTS = 200;
  const MAX_QUANTITY = 20000;
  const MAX_GAP_MM = 1000;
  const MAX_SECONDS = 600;

  const isNest = (j) => j.kind === 'nest' && j.nest && Array.isArray(j.nest.parts);
  const partsOf = (j) => (isNest(j) ? j.nest.parts.slice(0, MAX_PARTS) : []);

  // The pieces a nest cuts: every part as many times as asked.
  function pieces(j) {
    return partsOf(j).reduce((sum, p) => sum + Math.max(1, Math.min(MAX_QUANTITY, p.quantity || 1)), 0);
  }
  // One line per part, for a title: "a.dxf × 4".
  function partList(j) {
    return partsOf(j).map((p) => `${p.name} × ${num(p.quantity || 1)}`).join('\n');
  }
  function nestBadge(j) {
    return j.kind === 'nest' ? el('span', { class: 'kind', dataset: { kind: 'nest' }, text: t('kind.nest') }) : null;
  }

  function nestControl(name) {
    const files = el('input', { type: 'file', multiple: true, 'aria-label': t('nest.files'),
      dataset: { machine: name, kind: 'nest' } });
    const field = (cls, label, max, hint) => el('label', { class: 'count' }, el('span', { text: label }),
      el('input', { type: 'number', class: cls, min: 0, max, step: 'any', placeholder: hint, 'aria-label': label }));
    const box = el('details', { class: 'nest', dataset: { machine: name } },
      el('summary', { text: t('nest.open') }),
      el('div', { class: 'nest-body' },
        el('div', { class: 'nest-pick' },
          el('label', { class: 'pick' }, files, el('span', { text: t('nest.pick') })),
          el('span', { class: 'chosen' })),
        el('ul', { class: 'parts' }),
        el('div', { class: 'nest-go' },
          field('gap', t('nest.gap'), MAX_GAP_MM, num(2)),
          field('seconds', t('nest.seconds'), MAX_SECONDS, num(10)),
          button('nest', t('action.nest'), { machine: name }))));
    showList(box);
    return box;
  }

  // A row per chosen file, its quantity beside it; none past what a nest takes.
  function showList(box) {
    const files = [...box.querySelector('input[type=file]').files];
    const fits = files.length <= MAX_PARTS;
    box.querySelector('.parts').replaceChildren(...(fits ? files : []).map((f, i) =>
      el('li', { dataset: { part: i } },
        el('span', { class: 'part-name', text: f.name, title: f.name }),
        el('label', { class: 'count' }, el('span', { text: t('nest.quantity') }),
          el('input', { type: 'number', class: 'quantity', min: 1, max: MAX_QUANTITY, value: 1,
            'aria-label': t('nest.quantityOf', f.name), dataset: { part: i } })))));
    const chosen = box.querySelector('.chosen');
    chosen.textContent = !files.length ? t('nest.hint')
      : fits ? plural('nest.chosen', files.length, num(files.length)) : t('nest.tooMany', num(MAX_PARTS));
    chosen.classList.toggle('hint', !files.length);
  }

  function showParts(card) { showList(card.querySelector('details.nest')); }

  function bounded(input, low, high) {
    const v = parseFloat(input.value);
    return v >= low ? Math.min(v, high) : undefined;   // empty or not a number: the service's default
  }

  function sendNest(name) {
    const box = shop.cardNode(name).querySelector('details.nest');
    const input = box.querySelector('input[type=file]');
    const files = [...input.files];
    if (!files.length) { notice(t('nest.choose')); return; }
    if (files.length > MAX_PARTS) { notice(t('nest.tooMany', num(MAX_PARTS))); return; }
    // Quantities travel in the request line, which the service bounds
    // (16 KiB): only those that are not the default 1.
    const nest = { quantities: {} };
    const form = new FormData();
    files.forEach((f, i) => {
      const field = box.querySelector(`input.quantity[data-part="${i}"]`);
      const q = field ? Math.round(bounded(field, 1, MAX_QUANTITY) || 1) : 1;
      if (q !== 1) nest.quantities[f.name] = q;
      form.append('part', f, f.name);
    });
    const gap = bounded(box.querySelector('input.gap'), 0, MAX_GAP_MM);
    const seconds = bounded(box.querySelector('input.seconds'), 0, MAX_SECONDS);
    if (gap !== undefined) nest.gap = gap;
    if (seconds !== undefined) nest.time_s = seconds;
    const go = box.querySelector('button[data-action=nest]');
    go.disabled = true;   // one nest per press: the parts take a while to send
    const path = `/api/machines/${encodeURIComponent(name)}/nests?nest=${encodeURIComponent(JSON.stringify(nest))}`;
    api('POST', path, form).then(() => {
      notice('');
      if (input.files[0] === files[0]) { input.value = ''; showList(box); box.open = false; }
    }, failed).finally(() => { go.disabled = false; });
  }

  Object.assign(shop, { pieces, partList, nestBadge, nestControl, showParts, sendNest });
})();
