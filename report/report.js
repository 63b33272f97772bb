'use strict';
// The roster of the town page: search, filters, sorting, the view in the
// address after '#', and only the rows in sight in the document.
(() => {
  const data = JSON.parse(document.getElementById('town-data').textContent);
  // The words of the data, written by the page writer from its tables.
  const { sexes: SEXES, classes: CLASSES, abilities: ABILITIES, coins: COIN_LABELS } = data;
  const COPPER_PER_COIN = data.copperPerCoin;
  const [GEMS_HEADING, ITEMS_HEADING] = data.headings;
  const OVERSCAN = 8;

  // One entry of the JSON block, its fields found by the names in data.fields.
  const at = Object.fromEntries(data.fields.map((field, i) => [field, i]));
  const personOf = (r) => ({
    number: r[at.number], first: r[at.first], last: r[at.last], sex: SEXES[r[at.sex]],
    occupation: data.occupations[r[at.occupation]], socialClass: CLASSES[r[at.socialClass]],
    age: r[at.age], abilities: r[at.abilities], percentile: r[at.percentile], coins: r[at.coins],
    gems: r[at.gems], gemWorth: r[at.gemWorth], items: r[at.items], wealth: r[at.wealth],
    block: r[at.block], gemList: r[at.gemList], itemList: r[at.itemList], searchText: null,
  });
  const people = data.roster.map(personOf);
  // The notables, counted over the whole town, may lie outside the roster's sample.
  const notables = new Map(data.notables.map((r) => [r[at.number], personOf(r)]));

  const lines = (p) => p.block.split('\n');
  const name = (p) => p.first + ' ' + p.last;
  const coinWorth = (p) => p.coins.reduce((sum, count, i) => sum + count * COPPER_PER_COIN[i], 0);
  // Gem and item lines follow their headings; the first four lines are fixed.
  const lineAfter = (blockLines, heading) => {
    const at = blockLines.indexOf(heading, 4);
    return at < 0 ? '' : blockLines[at + 1];
  };
  const searchTextOf = (p) => {
    if (p.searchText === null) {
      const blockLines = lines(p);
      p.searchText = [name(p), p.occupation, lineAfter(blockLines, GEMS_HEADING),
        lineAfter(blockLines, ITEMS_HEADING)].join('\n').toLowerCase();
    }
    return p.searchText;
  };

  const collator = new Intl.Collator(undefined, { sensitivity: 'base', numeric: true });
  const text = (key, get) => ({ key, get, compare: (a, b) => collator.compare(get(a), get(b)) });
  const count = (key, get, show) => ({
    key, get, numeric: true, descendingFirst: key !== 'number', show: show || get, compare: (a, b) => get(a) - get(b),
  });
  const gold = (value) => value.toLocaleString('en', { minimumFractionDigits: 2, maximumFractionDigits: 2 });
  // A free text (a name, a gem, an item) in an element of its own direction,
  // less any end of isolate (U+2069) it did not open, which would end the
  // element's isolation early.
  const isolated = (text) => {
    let depth = 0;
    const made = document.createElement('bdi');
    made.textContent = text.replace(/[\u2066-\u2069]/g, (mark) => {
      if (mark !== '\u2069') depth++;
      else if (depth > 0) depth--;
      else return '';
      return mark;
    });
    return made;
  };
  // "18/45", and "18/00" for the hundredth percentile.
  const strength = (p) => (p.percentile ? '18/' + String(p.percentile % 100).padStart(2, '0') : String(p.abilities[0]));
  const columns = [
    { label: 'Tick', key: 'tick', tick: true },
    { label: '#', sortLabel: 'Number', ...count('number', (p) => p.number) },
    // Shown first name first, sorted by last name, then first name.
    {
      label: 'Name', className: 'name', clip: true, ...text('name', name),
      compare: (a, b) => collator.compare(a.last, b.last) || collator.compare(a.first, b.first),
    },
    { label: 'Sex', className: 'sex', ...text('sex', (p) => p.sex) },
    { label: 'Occupation', className: 'occupation', clip: true, ...text('occupation', (p) => p.occupation) },
    { label: 'Class', className: 'class', ...text('class', (p) => p.socialClass) },
    { label: 'Age', className: 'age', ...count('age', (p) => p.age) },
    ...ABILITIES.map((ability, i) => ({
      label: ability, className: 'ability',
      ...count(ability.toLowerCase(), (p) => p.abilities[i] + (i === 0 ? p.percentile / 1000 : 0),
        (p) => (i === 0 ? strength(p) : p.abilities[i])),
    })),
    { label: 'Coins gp', className: 'coins', ...count('coins', coinWorth, (p) => gold(coinWorth(p) / 100)) },
    // "2 (625.00)": how many gems, and their worth in gold.
    {
      label: 'Gems (gp)', className: 'gems', ...count('gems', (p) => p.gemWorth + p.gems / 1e6,
        (p) => (p.gems ? `${p.gems} (${gold(p.gemWorth)})` : '')),
    },
    {
      label: 'Magic items', className: 'items', ...count('items', (p) => p.items, (p) => p.itemList.join(', ')),
      numeric: false, clip: true, pieces: (p) => p.itemList,
    },
    { label: 'Wealth gp', className: 'wealth', ...count('wealth', (p) => p.wealth, (p) => gold(p.wealth)) },
  ];
  const sortable = columns.filter((c) => !c.tick);
  const columnByKey = new Map(sortable.map((c) => [c.key, c]));

  const search = document.getElementById('search');
  const classFilter = document.getElementById('class-filter');
  const sexFilter = document.getElementById('sex-filter');
  const status = document.getElementById('status');
  const scroller = document.getElementById('roster-scroll');
  const table = document.getElementById('roster');
  const head = table.tHead;
  const body = table.tBodies[0];
  const dialog = document.getElementById('block-dialog');
  const sortSelect = document.getElementById('sort-select');
  const narrowScreen = matchMedia('(max-width: 699px)');
  const ticked = new Set();  // townspeople's numbers, for "Print cards"

  const state = { query: '', socialClass: '', sex: '', sort: 'number', descending: false, person: 0 };
  let view = [];      // positions in `people`, filtered and sorted
  let cursor = 0;     // the position in `view` that Tab reaches
  let rowHeight = 28;
  let printing = false;

  // The view in the address: #q=opal&class=Noble&sex=Female&sort=wealth&order=desc
  const readAddress = () => {
    const params = new URLSearchParams(location.hash.slice(1));
    state.query = params.get('q') || '';
    state.socialClass = CLASSES.includes(params.get('class')) ? params.get('class') : '';
    state.sex = SEXES.includes(params.get('sex')) ? params.get('sex') : '';
    state.sort = columnByKey.has(params.get('sort')) ? params.get('sort') : 'number';
    state.descending = params.get('order') === 'desc';
    state.person = Number(params.get('person')) || 0;
    search.value = state.query;
    classFilter.value = state.socialClass;
    sexFilter.value = state.sex;
  };
  const writeAddress = () => {
    const params = new URLSearchParams();
    if (state.query) params.set('q', state.query);
    if (state.socialClass) params.set('class', state.socialClass);
    if (state.sex) params.set('sex', state.sex);
    if (state.sort !== 'number' || state.descending) {
      params.set('sort', state.sort);
      params.set('order', state.descending ? 'desc' : 'asc');
    }
    if (state.person) params.set('person', String(state.person));
    const hash = params.toString();
    history.replaceState(null, '', hash ? '#' + hash : location.pathname + location.search);
  };

  const buildHead = () => {
    const row = document.createElement('tr');
    for (const column of columns) {
      const th = document.createElement('th');
      th.scope = 'col';
      if (column.numeric) th.className = 'number';
      if (column.tick) {
        th.className = 'tick';
        th.append(element('span', 'tick-mark', '\u2713'), element('span', 'visually-hidden', 'Tick to print'));
        th.title = 'Tick townspeople to print their cards';
        row.append(th);
        continue;
      }
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = column.label;
      th.append(button);
      // The whole cell sorts; the button's own clicks (and keys) come here too.
      th.addEventListener('click', () => sortBy(column.key));
      row.append(th);
    }
    head.append(row);
  };

  const sortBy = (key) => {
    // Figures sort largest first, words A to Z, numbers 1 up; again reverses.
    state.descending = state.sort === key ? !state.descending : columnByKey.get(key).descendingFirst === true;
    state.sort = key;
    update();
  };

  const applyView = () => {
    const query = state.query.toLowerCase();
    view = [];
    for (let i = 0; i < people.length; i++) {
      const p = people[i];
      if (state.socialClass && p.socialClass !== state.socialClass) continue;
      if (state.sex && p.sex !== state.sex) continue;
      if (query && !searchTextOf(p).includes(query)) continue;
      view.push(i);
    }
    const column = columnByKey.get(state.sort);
    const direction = state.descending ? -1 : 1;
    view.sort((a, b) => direction * column.compare(people[a], people[b]) || people[a].number - people[b].number);
    head.querySelectorAll('th').forEach((th, i) => {
      if (columns[i].tick) return;
      const sorted = columns[i].key === state.sort;
      th.setAttribute('aria-sort', sorted ? (state.descending ? 'descending' : 'ascending') : 'none');
    });
    sortSelect.value = state.sort;
    table.setAttribute('aria-rowcount', String(view.length + 1));
    showStatus();
    cursor = Math.min(cursor, Math.max(view.length - 1, 0));
  };

  const showStatus = () => {
    const shown = view.length.toLocaleString('en');
    const all = people.length.toLocaleString('en');
    status.textContent = (view.length === people.length ? `${all} townspeople` : `${shown} of ${all} townspeople`) +
      (ticked.size ? ` \u00b7 ${ticked.size.toLocaleString('en')} ticked` : '');
  };

  const spacer = (height) => {
    const row = document.createElement('tr');
    row.className = 'spacer';
    row.setAttribute('aria-hidden', 'true');
    const cell = document.createElement('td');
    cell.colSpan = columns.length;
    cell.style.height = height + 'px';
    row.append(cell);
    return row;
  };

  const rowFor = (position) => {
    const p = people[view[position]];
    const row = document.createElement('tr');
    row.dataset.position = String(position);
    row.setAttribute('aria-rowindex', String(position + 2));
    row.tabIndex = position === cursor ? 0 : -1;
    for (const column of columns) {
      const cell = document.createElement('td');
      cell.className = [column.numeric ? 'number' : '', column.className || ''].join(' ').trim();
      if (column.tick) {
        const box = document.createElement('input');
        box.type = 'checkbox';
        box.tabIndex = -1;
        box.checked = ticked.has(p.number);
        box.setAttribute('aria-label', `Tick ${name(p)} for printing`);
        cell.className = 'tick';
        cell.append(box);
        row.append(cell);
        continue;
      }
      const shown = String(column.show ? column.show(p) : column.get(p));
      if (column.clip && shown) {
        const clip = document.createElement('span');  // long texts end in an ellipsis
        clip.className = 'clip';
        clip.title = shown;
        // Each free text isolated in its text direction, so none turns the next around.
        if (column.pieces) {
          column.pieces(p).forEach((piece, i) => clip.append(...(i ? [', '] : []), isolated(piece)));
        } else {
          clip.textContent = shown;
        }
        cell.append(clip);
      } else {
        cell.textContent = shown;
      }
      row.append(cell);
    }
    return row;
  };

  // Puts the rows in sight (all of them for printing) in the table.
  const render = () => {
    const first = printing ? 0 : Math.max(0, Math.floor(scroller.scrollTop / rowHeight) - OVERSCAN);
    const inSight = Math.ceil(scroller.clientHeight / rowHeight) + 2 * OVERSCAN;
    const last = printing ? view.length : Math.min(view.length, first + inSight);
    const hadFocus = body.contains(document.activeElement);
    const rows = [spacer(first * rowHeight)];
    for (let position = first; position < last; position++) rows.push(rowFor(position));
    rows.push(spacer((view.length - last) * rowHeight));
    body.replaceChildren(...rows);
    if (hadFocus) focusRow(cursor, false);
  };

  const rowAt = (position) => body.querySelector(`tr[data-position="${position}"]`);

  const focusRow = (position, scroll = true) => {
    if (view.length === 0) return;
    cursor = Math.max(0, Math.min(view.length - 1, position));
    if (scroll) {
      const top = cursor * rowHeight;
      const headHeight = head.offsetHeight;
      if (top < scroller.scrollTop) scroller.scrollTop = top;
      else if (top + rowHeight > scroller.scrollTop + scroller.clientHeight - headHeight) {
        scroller.scrollTop = top + rowHeight - scroller.clientHeight + headHeight;
      }
      if (!rowAt(cursor)) render();
    }
    body.querySelectorAll('tr[tabindex="0"]').forEach((row) => { row.tabIndex = -1; });
    const row = rowAt(cursor);
    if (row) {
      row.tabIndex = 0;
      row.focus({ preventScroll: !scroll });
    }
  };

  // The character card of a townsperson: every text is set as text.
  const element = (tag, className, content) => {
    const made = document.createElement(tag);
    if (className) made.className = className;
    if (content !== undefined) made.textContent = content;
    return made;
  };
  // A detail is a text, or a list of texts and elements.
  const fact = (term, ...details) => {
    const group = element('div');
    group.append(element('dt', '', term));
    for (const detail of details) {
      const described = element('dd');
      described.append(...[].concat(detail));
      group.append(described);
    }
    return group;
  };
  const cardLine = (p) => `No. ${p.number} \u00b7 ${p.sex} \u00b7 age ${p.age} \u00b7 ${p.socialClass} \u00b7 ${p.occupation}`;
  const abilityBoxes = (p) => ABILITIES.map((ability, i) => {
    const box = element('li');
    box.append(element('span', 'ability-label', ability));
    box.append(element('span', 'ability-score', i === 0 ? strength(p) : String(p.abilities[i])));
    return box;
  });
  const cardFacts = (p) => {
    const coins = COIN_LABELS.map((label, i) => `${p.coins[i].toLocaleString('en')} ${label}`).join(', ');
    const gems = [];
    for (let i = 0; i < p.gemList.length; i += 2) {
      gems.push([isolated(p.gemList[i]), ` (${gold(p.gemList[i + 1])} gp)`]);
    }
    return [
      fact('Coins', `${coins} \u2014 worth ${gold(coinWorth(p) / 100)} gp`),
      fact('Gems', ...(gems.length ? gems : ['none'])),
      fact('Magic items', ...(p.itemList.length ? p.itemList : ['none'])),
      fact('Wealth', `${gold(p.wealth)} gp in coins and gems`)];
  };
  const fillCard = (p) => {
    document.getElementById('block-title').textContent = name(p);
    document.getElementById('card-line').textContent = cardLine(p);
    document.getElementById('card-abilities').replaceChildren(...abilityBoxes(p));
    document.getElementById('card-facts').replaceChildren(...cardFacts(p));
    document.getElementById('block-text').textContent = p.block;
  };
  const showCard = (p, hasPrevious, hasNext) => {
    fillCard(p);
    state.person = p.number;
    writeAddress();
    document.getElementById('card-previous').disabled = !hasPrevious;
    document.getElementById('card-next').disabled = !hasNext;
    if (!dialog.open) {
      dialog.showModal();
      document.getElementById('block-title').focus();  // the name is read first
    }
  };
  let cardOutsideView = false;  // a notable the current view lacks: no previous or next
  const openRow = (position) => {
    if (view.length === 0) return;
    cursor = Math.max(0, Math.min(view.length - 1, position));
    cardOutsideView = false;
    showCard(people[view[cursor]], cursor > 0, cursor < view.length - 1);
  };
  // Opens the card of townsperson `number`: in the view if there, else alone.
  const openPerson = (number) => {
    const position = view.findIndex((i) => people[i].number === number);
    if (position >= 0) {
      openRow(position);
      return;
    }
    const p = people.find((q) => q.number === number) || notables.get(number);
    if (!p) return;
    cardOutsideView = true;
    showCard(p, false, false);
  };

  const update = () => {
    applyView();
    scroller.scrollTop = 0;
    cursor = 0;
    render();
    writeAddress();
  };

  // The widths the first rows give the columns are kept, so that a search or
  // a sort never makes them jump.
  const fixColumnWidths = () => {
    const widths = [...head.querySelectorAll('th')].map((th) => th.getBoundingClientRect().width);
    if (widths.some((width) => width === 0)) return;
    const group = document.createElement('colgroup');
    for (const width of widths) {
      const col = document.createElement('col');
      col.style.width = width + 'px';
      group.append(col);
    }
    table.prepend(group);
    table.classList.add('fixed');
  };

  // The roster's columns sort on phones as well, where the header is hidden.
  for (const column of sortable) sortSelect.add(new Option(column.sortLabel || column.label, column.key));

  // "Print cards": the ticked townspeople, or else the whole view, as cards
  // several to a sheet; the page as a whole prints as before.
  const MOST_PRINTED = 1000;
  const printSheet = document.getElementById('print-sheet');
  const printCards = () => {
    const chosen = ticked.size
      ? people.filter((p) => ticked.has(p.number))
      : view.slice(0, MOST_PRINTED).map((i) => people[i]);
    printSheet.replaceChildren(...chosen.map((p) => {
      const card = element('article', 'print-card');
      const abilities = element('ul', 'abilities');
      abilities.append(...abilityBoxes(p));
      const facts = element('dl', 'card-facts');
      facts.append(...cardFacts(p));
      card.append(element('h2', '', name(p)), element('p', 'card-line', cardLine(p)), abilities, facts);
      return card;
    }));
    document.body.classList.add('printing-cards');
    window.print();
  };
  window.addEventListener('afterprint', () => {
    document.body.classList.remove('printing-cards');
    printSheet.replaceChildren();
  });

  buildHead();
  readAddress();
  applyView();
  render();
  const measured = body.querySelector('tr[data-position]');
  if (measured && measured.offsetHeight > 0) {
    rowHeight = measured.offsetHeight;
    render();
  }
  fixColumnWidths();
  performance.mark('roster-shown');

  search.addEventListener('input', () => { state.query = search.value; update(); });
  sortSelect.addEventListener('change', () => {
    state.sort = sortSelect.value;
    state.descending = columnByKey.get(state.sort).descendingFirst === true;
    update();
  });
  document.getElementById('print-cards').addEventListener('click', printCards);
  // A phone's compact rows are taller than a table's: measure again.
  narrowScreen.addEventListener('change', () => {
    render();
    const row = body.querySelector('tr[data-position]');
    if (row && row.offsetHeight > 0) rowHeight = row.offsetHeight;
    render();
  });
  document.getElementById('notables').addEventListener('click', (event) => {
    const link = event.target.closest('a[data-person]');
    if (!link) return;
    event.preventDefault();
    openPerson(Number(link.dataset.person));
  });
  document.getElementById('show-nobles').addEventListener('click', (event) => {
    event.preventDefault();
    state.socialClass = classFilter.value = 'Noble';
    update();
    scroller.scrollIntoView();
  });
  classFilter.addEventListener('change', () => { state.socialClass = classFilter.value; update(); });
  sexFilter.addEventListener('change', () => { state.sex = sexFilter.value; update(); });
  scroller.addEventListener('scroll', () => requestAnimationFrame(render), { passive: true });
  window.addEventListener('hashchange', () => { readAddress(); applyView(); render(); });
  window.addEventListener('beforeprint', () => {
    if (document.body.classList.contains('printing-cards')) return;  // the roster stays hidden
    printing = true;
    render();
  });
  window.addEventListener('afterprint', () => { printing = false; render(); });

  const toggleTick = (position, box) => {
    const number = people[view[position]].number;
    if (ticked.has(number)) ticked.delete(number); else ticked.add(number);
    box.checked = ticked.has(number);
    showStatus();
  };
  body.addEventListener('click', (event) => {
    const row = event.target.closest('tr[data-position]');
    if (!row) return;
    const box = row.querySelector('td.tick input');
    if (event.target === box) {
      box.checked = !box.checked;  // toggleTick sets it
      toggleTick(Number(row.dataset.position), box);
    } else if (event.target.closest('td.tick')) {
      toggleTick(Number(row.dataset.position), box);
    } else {
      openRow(Number(row.dataset.position));
    }
  });
  body.addEventListener('keydown', (event) => {
    const row = event.target.closest('tr[data-position]');
    if (!row) return;
    const position = Number(row.dataset.position);
    const page = Math.max(1, Math.floor(scroller.clientHeight / rowHeight) - 1);
    const moves = { ArrowDown: 1, ArrowUp: -1, PageDown: page, PageUp: -page };
    if (event.key === 'Enter') openRow(position);
    else if (event.key === ' ') toggleTick(position, row.querySelector('td.tick input'));
    else if (event.key in moves) focusRow(position + moves[event.key]);
    else if (event.key === 'Home') focusRow(0);
    else if (event.key === 'End') focusRow(view.length - 1);
    else return;
    event.preventDefault();
  });
  document.getElementById('block-close').addEventListener('click', () => dialog.close());
  // A townsperson picked by the browser's randomness among those in view; the
  // town itself never changes.
  document.getElementById('someone').addEventListener('click', () => {
    if (view.length === 0) return;
    const draw = new Uint32Array(1);
    crypto.getRandomValues(draw);
    openRow(draw[0] % view.length);
  });
  const move = (step) => { if (!cardOutsideView) openRow(cursor + step); };
  document.getElementById('card-previous').addEventListener('click', () => move(-1));
  document.getElementById('card-next').addEventListener('click', () => move(1));
  dialog.addEventListener('keydown', (event) => {
    if (event.key === 'ArrowLeft' || event.key === 'ArrowUp') move(-1);
    else if (event.key === 'ArrowRight' || event.key === 'ArrowDown') move(1);
    else return;
    event.preventDefault();
  });
  dialog.addEventListener('close', () => {
    state.person = 0;
    writeAddress();
    focusRow(cursor);
  });
  // An address with #person=N opens that townsperson's card.
  const openAddressedPerson = () => {
    if (state.person) openPerson(state.person);
  };
  openAddressedPerson();
  window.addEventListener('hashchange', openAddressedPerson);
  document.addEventListener('keydown', (event) => {
    const typing = event.target.closest('input, select, textarea');
    if (event.key === '/' && !typing && !dialog.open) {
      event.preventDefault();
      search.focus();
      search.select();
    }
  });
})();
