  // The page comes up, and every listener is wired here, once.
  if (inFrame) {
    document.documentElement.classList.add('in-frame');
    new ResizeObserver(() => tellFrame({ height: document.documentElement.scrollHeight }))
      .observe(document.body);
    window.addEventListener('message', (event) => {
      if (event.source !== window.parent || !event.data || !event.data.townPageWindow) return;
      outerView = event.data.townPageWindow;
      if (cardPlacedUnseen && dialog.open) placeCard();
      if (followsOuterScroll()) requestAnimationFrame(render);
    });
  }
  // Every sort in one list as well: coins and gems, which have no column,
  // and on phones, where the header is hidden, all of them.
  for (const column of sortable) sortSelect.add(new Option(column.sortLabel || column.label, column.key));
  // The town's occupations, A to Z, to filter by.
  occupationFilter.append(...[...data.occupations].sort(collator.compare).map((occupation) => new Option(occupation)));
  buildHead();
  readAddress();
  fitColumnsToSearch();
  applyView();
  measureRows();
  fixColumnWidths();
  performance.mark('roster-shown');
  openAddressedPerson();

  search.addEventListener('input', () => { state.query = search.value; update(); });
  sortSelect.addEventListener('change', () => {
    state.sort = sortSelect.value;
    state.descending = columnByKey.get(state.sort).descendingFirst === true;
    update();
  });
  classFilter.addEventListener('change', () => { state.socialClass = classFilter.value; update(); });
  occupationFilter.addEventListener('change', () => { state.occupation = occupationFilter.value; update(); });
  for (const { key } of BOUNDS) {
    const field = document.getElementById(key);
    field.addEventListener('input', () => { state.bounds[key] = boundOf(field.value); update(); });
  }
  for (const { key } of FLAGS) {
    const box = document.getElementById(key);
    box.addEventListener('change', () => { state.flags[key] = box.checked; update(); });
  }
  sexFilter.addEventListener('change', () => { state.sex = sexFilter.value; update(); });
  narrowScreen.addEventListener('change', measureRows);
  scroller.addEventListener('scroll', () => requestAnimationFrame(render), { passive: true });
  window.addEventListener('scroll', () => { if (followsOuterScroll() && !inFrame) requestAnimationFrame(render); },
    { passive: true });
  body.addEventListener('click', rowClicked);
  body.addEventListener('keydown', rowKeyPressed);
  document.getElementById('someone').addEventListener('click', someoneInTown);
  document.getElementById('household-pick')?.addEventListener('click', householdInTown);
  document.getElementById('clear-filters').addEventListener('click', clearFilters);
  document.getElementById('print-cards').addEventListener('click', printCards);
  document.getElementById('notables').addEventListener('click', notableClicked);
  document.getElementById('show-nobles').addEventListener('click', showNobles);
  document.getElementById('block-close').addEventListener('click', () => dialog.close());
  document.getElementById('card-previous').addEventListener('click', () => move(-1));
  document.getElementById('card-next').addEventListener('click', () => move(1));
  dialog.addEventListener('keydown', cardKeyPressed);
  dialog.addEventListener('click', cardClicked);
  dialog.addEventListener('close', cardClosed);
  window.addEventListener('hashchange', () => {
    readAddress();
    fitColumnsToSearch();
    applyView();
    render();
    openAddressedPerson();
  });
  window.addEventListener('beforeprint', beforePrint);
  window.addEventListener('afterprint', afterPrint);
  document.addEventListener('keydown', (event) => {
    const typing = event.target.closest('input, select, textarea');
    if (event.key === '/' && !typing && !dialog.open) {
      event.preventDefault();
      search.focus();
      search.select();
    }
  });
