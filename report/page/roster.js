  // The roster: its columns, search, filters and sorting, and only the rows
  // in sight in the document.
  // A household town's member by role and household: "son of No. 43", or
  // "head" for the head.
  const householdText = (p) => (p.household.role === ROLES[0] ? p.household.role
    : `${p.household.role} of No. ${p.household.number.toLocaleString('en')}`);
  const inHouseholds = townLines.includes('household');
  const abilitySorts = ABILITIES.map((ability, i) => ({
    label: ability, ...count(ability.toLowerCase(), (p) => p.abilities[i] + (i === 0 ? p.percentile / 1000 : 0),
      (p) => (i === 0 ? strength(p) : p.abilities[i])),
  }));
  // "2 (625.00)": how many gems, and their worth in gold; on a phone, under the items.
  const gemsText = (p) => (p.gems ? `${p.gems} (${gold(p.gemWorth)})` : '');
  // What a search found, where the row does not show it whole: the first of
  // these holding the words.
  const foundIn = (p, query) => {
    const places = [['name', name(p)], ['occupation', p.occupation],
      ...(p.household ? [['household', householdText(p)]] : []),
      ...(p.traits || []).map((trait, i) => [TRAIT_KINDS[i], trait || '']),
      ...p.gemList.filter((_, i) => i % 2 === 0).map((gem) => ['gem', gem]),
      ...p.itemList.map((item) => ['magic item', item])];
    for (const [where, words] of places) {
      const at = words.toLowerCase().indexOf(query);
      if (at < 0) continue;
      // A text is shown from the word the words found begin in.
      const from = words.lastIndexOf(' ', at - 1) + 1;
      return `${where}: ${from > 0 ? '\u2026' + words.slice(from) : words}`;
    }
    return '';
  };
  // The table's columns. Names show whole; the seven abilities share one
  // column, each sorting by its own heading; the class (which the occupation
  // tells), coins and gems sort from the "Sort" list, and show on the card.
  const allColumns = [
    { label: 'Tick', key: 'tick', tick: true },
    { label: '#', sortLabel: 'Number', ...count('number', (p) => p.number) },
    // Shown first name first, sorted by last name, then first name.
    {
      label: 'Name', className: 'name', clip: true, whole: true, ...text('name', name),
      compare: (a, b) => collator.compare(a.last, b.last) || collator.compare(a.first, b.first),
    },
    { label: 'Sex', className: 'sex', ...text('sex', (p) => p.sex) },
    { label: 'Occupation', className: 'occupation', clip: true, ...text('occupation', occupationShown) },
    { label: 'Age', className: 'age', ...count('age', (p) => p.age) },
    ...(inHouseholds ? [{
      label: 'Household', className: 'household', whole: true, ...text('household', householdText),
      compare: (a, b) => a.household.number - b.household.number || a.number - b.number,
    }] : []),
    { label: 'Abilities', key: 'abilities', className: 'scores', parts: abilitySorts },
    {
      label: 'Magic items', className: 'items', ...count('items', (p) => p.items, (p) => p.itemList.join(', ')),
      numeric: false, clip: true, pieces: (p) => p.itemList, under: gemsText, notWhileSearching: true,
    },
    // While a search is on, what it found stands in the items' place.
    { label: 'Found in', key: 'found', className: 'found', clip: true, searching: true },
    { label: 'Wealth gp', className: 'wealth', ...count('wealth', (p) => p.wealth, (p) => gold(p.wealth)) },
  ];
  const sortable = [
    ...allColumns.filter((c) => !c.tick && !c.searching).flatMap((c) => c.parts || [c]),
    { label: 'Class', ...text('class', (p) => p.socialClass) },
    { label: 'Coins gp', ...count('coins', coinWorth) },
    { label: 'Gems (gp)', ...count('gems', (p) => p.gemWorth + p.gems / 1e6) },
  ];
  const columnByKey = new Map(sortable.map((c) => [c.key, c]));
  // The columns of the table now: "Found in" while a search is on.
  const columnsWhile = (searching) => allColumns.filter((c) => (searching ? !c.notWhileSearching : !c.searching));
  let columns = columnsWhile(false);

  const search = document.getElementById('search');
  const classFilter = document.getElementById('class-filter');
  const sexFilter = document.getElementById('sex-filter');
  const occupationFilter = document.getElementById('occupation-filter');
  const status = document.getElementById('status');
  const scroller = document.getElementById('roster-scroll');
  const table = document.getElementById('roster');
  const head = table.tHead;
  const body = table.tBodies[0];
  const dialog = document.getElementById('block-dialog');
  const sortSelect = document.getElementById('sort-select');
  const noMatch = document.getElementById('no-match');
  const narrowScreen = matchMedia('(max-width: 699px)');
  const ticked = new Set();  // townspeople's numbers, for "Print cards"
  let view = [];      // positions in `people`, filtered and sorted
  let cursor = 0;     // the position in `view` that Tab reaches
  let rowHeight = 28;
  let printing = false;

  const sortButton = (label, key) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = label;
    button.dataset.sort = key;
    return button;
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
      } else if (column.parts) {
        // Seven headings in one cell, each over its scores and sorting by them.
        th.className = 'scores';
        th.append(element('span', 'visually-hidden', 'Abilities: '),
          ...column.parts.map((part) => sortButton(part.label, part.key)));
      } else if (column.searching) {
        th.className = 'found';
        th.append(element('span', 'found-label', column.label));
      } else {
        th.append(sortButton(column.label, column.key));
        // The whole cell sorts; the button's own clicks (and keys) come here too.
        th.addEventListener('click', () => sortBy(column.key));
      }
      row.append(th);
    }
    row.querySelectorAll('th.scores button').forEach((button) =>
      button.addEventListener('click', () => sortBy(button.dataset.sort)));
    head.replaceChildren(row);
  };
  // The table's columns as the search asks: when "Found in" comes or goes,
  // the head and the widths are made anew.
  const fitColumnsToSearch = () => {
    const searching = state.query !== '';
    if (searching === columns.some((c) => c.searching)) return;
    columns = columnsWhile(searching);
    buildHead();
    table.querySelector('colgroup')?.remove();
    table.classList.remove('fixed');
    fixColumnWidths();
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
      if (!passesFilters(p)) continue;
      if (query && !searchTextOf(p).includes(query)) continue;
      view.push(i);
    }
    const column = columnByKey.get(state.sort);
    const direction = state.descending ? -1 : 1;
    view.sort((a, b) => direction * column.compare(people[a], people[b]) || people[a].number - people[b].number);
    const order = state.descending ? 'descending' : 'ascending';
    head.querySelectorAll('th').forEach((th, i) => {
      const column = columns[i];
      if (column.tick || column.searching) return;
      const sorted = (column.parts || [column]).some((c) => c.key === state.sort);
      th.setAttribute('aria-sort', sorted ? order : 'none');
    });
    head.querySelectorAll('th.scores button').forEach((button) => {
      if (button.dataset.sort === state.sort) button.dataset.order = order; else delete button.dataset.order;
    });
    sortSelect.value = state.sort;
    table.setAttribute('aria-rowcount', String(view.length + 1));
    // An empty view says so, with a way out, in place of an empty box.
    noMatch.hidden = view.length > 0 || people.length === 0;
    scroller.hidden = !noMatch.hidden;
    showStatus();
    cursor = Math.min(cursor, Math.max(view.length - 1, 0));
    if (widthsWaiting && !scroller.hidden) fixColumnWidths();
  };

  const showStatus = () => {
    const shown = view.length.toLocaleString('en');
    const all = people.length.toLocaleString('en');
    status.textContent = (view.length === people.length ? `${all} townspeople` : `${shown} of ${all} townspeople`) +
      (state.household ? ` \u00b7 the household of No. ${state.household}` : '') +
      (state.tied ? ` \u00b7 No. ${state.tied} and those tied to them` : '') +
      (ticked.size ? ` \u00b7 ${ticked.size.toLocaleString('en')} ticked` : '');
    showEveryoneButton();
  };
  // A roster filtered to one household, or to one townsperson's ties,
  // offers the way back to everyone; the button is made the first time it
  // is needed.
  const showEveryoneButton = () => {
    let everyone = document.getElementById('show-everyone');
    const narrowed = state.household || state.tied;
    if (narrowed && !everyone) {
      everyone = element('button', '', 'Show everyone');
      everyone.type = 'button';
      everyone.id = 'show-everyone';
      everyone.addEventListener('click', () => { state.household = 0; state.tied = 0; update(); });
      status.before(everyone);
    }
    if (everyone) everyone.hidden = !narrowed;
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
      if (column.parts) {
        for (const part of column.parts) cell.append(element('span', 'score', String(part.show(p))));
        row.append(cell);
        continue;
      }
      const shown = String(column.searching ? foundIn(p, state.query.toLowerCase())
        : column.show ? column.show(p) : column.get(p));
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
      if (column.under && column.under(p)) cell.append(element('span', 'under', column.under(p)));
      row.append(cell);
    }
    return row;
  };

  // Puts the rows in sight (all of them for printing) in the table.
  // On a phone the roster has no box of its own to scroll: the rows in sight
  // are those in the part of the page in the window, or in towngen.html's
  // frame the part of the frame the page around it shows, which it tells as
  // outerView { top, height } (a guess of one screen until it has).
  let outerView = null;
  const followsOuterScroll = () => narrowScreen.matches;
  const pageInSight = () => (inFrame ? outerView || { top: 0, height: 1000 } : { top: scrollY, height: innerHeight });
  const sight = () => {
    if (!followsOuterScroll()) return { top: scroller.scrollTop, height: scroller.clientHeight };
    const { top, height } = pageInSight();
    // The frame itself does not scroll; the page does.
    const rosterTop = body.getBoundingClientRect().top + (inFrame ? 0 : scrollY);
    const start = Math.max(0, top - rosterTop);
    return { top: start, height: Math.max(0, top + height - rosterTop) - start };
  };

  const render = () => {
    const inView = sight();
    const first = printing ? 0 : Math.max(0, Math.floor(inView.top / rowHeight) - OVERSCAN);
    const inSight = Math.ceil(inView.height / rowHeight) + 2 * OVERSCAN;
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
    if (scroll && followsOuterScroll() && !inFrame) {
      // The page scrolls: the row is brought into the window, then drawn.
      const top = body.getBoundingClientRect().top + scrollY + cursor * rowHeight;
      if (top < scrollY || top + rowHeight > scrollY + innerHeight) scrollTo(0, top - innerHeight / 3);
      if (!rowAt(cursor)) render();
    } else if (scroll) {
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

  const clearFilters = () => {
    Object.assign(state, { query: '', socialClass: '', sex: '', occupation: '', household: 0, tied: 0 });
    for (const { key } of BOUNDS) state.bounds[key] = null;
    for (const { key } of FLAGS) state.flags[key] = false;
    showFilters();
    update();
    search.focus();
  };

  const update = () => {
    fitColumnsToSearch();
    applyView();
    scroller.scrollTop = 0;
    cursor = 0;
    render();
    writeAddress();
  };

  // The widest text each column of numbers, class or sex can show over the
  // whole town (digits all have one width); null for a column of free text.
  const widestTexts = () => {
    const most = (get) => people.reduce((largest, p) => Math.max(largest, get(p)), 0);
    const longest = (texts) => texts.reduce((a, b) => (String(b).length > String(a).length ? String(b) : String(a)), '');
    const youngest = people.reduce((least, p) => Math.min(least, p.age), 0);
    const ability = (i) => (i === 0 && people.some((p) => p.percentile) ? '18/00' : longest(people.map((p) => p.abilities[i])));
    return columns.map((column) => {
      if (column.whole) return longest(people.map(column.get));
      if (column.key === 'number') return String(most((p) => p.number));
      if (column.key === 'sex') return longest(SEXES);
      if (column.key === 'class') return longest(CLASSES);
      if (column.key === 'age') return longest([youngest, most((p) => p.age)]);
      const abilityAt = ABILITIES.findIndex((label) => label.toLowerCase() === column.key);
      if (abilityAt >= 0) return ability(abilityAt);
      if (column.key === 'coins') return gold(most(coinWorth) / 100);
      if (column.key === 'gems') return `${most((p) => p.gems)} (${gold(most((p) => p.gemWorth))})`;
      if (column.key === 'wealth') return gold(most((p) => p.wealth));
      return null;
    });
  };

  // Each column of numbers, class or sex, the names and the households are as
  // wide as the widest text they can show over the whole town, and their
  // heading with a sort arrow; the abilities as their seven headings; the
  // free texts (occupation, items, what a search found) share the rest, cut
  // with an ellipsis. The widths are kept, so that a search or a sort never
  // makes them jump.
  let widthsWaiting = false;  // the roster was hidden when they were to be fixed
  const fixColumnWidths = () => {
    widthsWaiting = head.getBoundingClientRect().width === 0;
    if (widthsWaiting) return;
    table.querySelector('colgroup')?.remove();
    table.classList.remove('fixed');
    const ths = [...head.querySelectorAll('th')];
    if (ths.some((th) => th.getBoundingClientRect().width === 0)) return;
    const texts = widestTexts();
    const probe = document.createElement('tr');
    const spans = texts.map((text) => {
      const cell = document.createElement('td');
      const span = document.createElement('span');
      span.textContent = text ?? '';
      cell.append(span);
      probe.append(cell);
      return span;
    });
    const arrow = document.createElement('span');
    arrow.textContent = ' \u25B2';
    probe.lastChild.append(arrow);
    body.append(probe);
    const style = getComputedStyle(probe.firstChild);
    const padding = parseFloat(style.paddingLeft) + parseFloat(style.paddingRight) + 2;
    const arrowWidth = arrow.getBoundingClientRect().width;
    const widths = columns.map((column, i) => {
      if (column.tick) return ths[i].getBoundingClientRect().width;
      if (column.parts) {
        const buttons = [...ths[i].querySelectorAll('button')];
        return Math.ceil(buttons.reduce((sum, b) => sum + b.getBoundingClientRect().width, 0) + padding);
      }
      if (texts[i] === null) return null;
      const label = document.createRange();  // the heading's words alone, not its button's box
      label.selectNodeContents(ths[i].querySelector('button').firstChild);
      return Math.ceil(Math.max(label.getBoundingClientRect().width + arrowWidth,
        spans[i].getBoundingClientRect().width) + padding);
    });
    probe.remove();
    const group = document.createElement('colgroup');
    for (const width of widths) {
      const col = document.createElement('col');
      if (width !== null) col.style.width = width + 'px';
      group.append(col);
    }
    table.prepend(group);
    table.classList.add('fixed');
  };

  // The rows measured again, as a phone's compact rows are taller than a table's.
  const measureRows = () => {
    render();
    const row = body.querySelector('tr[data-position]');
    if (row && row.offsetHeight > 0) rowHeight = row.offsetHeight;
    render();
  };

  const toggleTick = (position, box) => {
    const number = people[view[position]].number;
    if (ticked.has(number)) ticked.delete(number); else ticked.add(number);
    box.checked = ticked.has(number);
    showStatus();
  };
  const rowClicked = (event) => {
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
  };
  const rowKeyPressed = (event) => {
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
  };
  // A townsperson picked by the browser's randomness among those in view; the
  // town itself never changes.
  // A random household's head, in a household town.
  const householdInTown = () => {
    const heads = people.filter((p) => p.household && p.household.number === p.number);
    if (heads.length === 0) return;
    const draw = new Uint32Array(1);
    crypto.getRandomValues(draw);
    openPerson(heads[draw[0] % heads.length].number);
  };
  const someoneInTown = () => {
    if (view.length === 0) {
      status.textContent = 'No one can be picked: no one in town matches the search and filters.';
      return;
    }
    const draw = new Uint32Array(1);
    crypto.getRandomValues(draw);
    openRow(draw[0] % view.length);
  };
