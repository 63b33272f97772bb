  // The view in the address after '#', read on load and on every change of
  // it, and written back as the view changes.
  // Shown in towngen.html's frame, the page tells the page around it its view
  // (so that the address up there holds it) and its height (so that the frame
  // needs no scroll of its own).
  const inFrame = window.parent !== window;
  const tellFrame = (news) => { if (inFrame) window.parent.postMessage({ townPage: news }, '*'); };
  const state = {
    query: '', socialClass: '', sex: '', occupation: '', bounds: {}, flags: {},
    sort: 'number', descending: false, person: 0, household: 0, tied: 0,
  };
  // The filters past the search and the menus, each kept in the address
  // under the id of its field: bounds on a number, and things carried.
  const BOUNDS = [
    { key: 'age-from', test: (p, value) => p.age >= value },
    { key: 'age-to', test: (p, value) => p.age <= value },
    { key: 'wealth-from', test: (p, value) => p.wealth >= value },
    { key: 'wealth-to', test: (p, value) => p.wealth <= value },
  ];
  const FLAGS = [
    { key: 'with-items', test: (p) => p.items > 0 },
    { key: 'with-gems', test: (p) => p.gems > 0 },
  ];
  // A bound as typed: a number, or null for none.
  const boundOf = (text) => (text !== null && text.trim() !== '' && Number.isFinite(Number(text)) ? Number(text) : null);
  const passesFilters = (p) => (!state.occupation || p.occupation === state.occupation) &&
    (!state.household || (p.household !== null && p.household.number === state.household)) &&
    (!state.tied || p.number === state.tied || (p.ties !== null && p.ties.some((t) => t.with === state.tied))) &&
    BOUNDS.every(({ key, test }) => state.bounds[key] === null || test(p, state.bounds[key])) &&
    FLAGS.every(({ key, test }) => !state.flags[key] || test(p));
  // The view in the address: #q=opal&class=Noble&sex=Female&occupation=Miner&age-from=16
  // &with-gems=1&household=37&tied=12&sort=wealth&order=desc
  const readAddress = () => {
    const params = new URLSearchParams(location.hash.slice(1));
    state.query = params.get('q') || '';
    state.socialClass = CLASSES.includes(params.get('class')) ? params.get('class') : '';
    state.sex = SEXES.includes(params.get('sex')) ? params.get('sex') : '';
    state.sort = columnByKey.has(params.get('sort')) ? params.get('sort') : 'number';
    state.descending = params.get('order') === 'desc';
    state.person = Number(params.get('person')) || 0;
    state.household = Number(params.get('household')) || 0;
    state.tied = Number(params.get('tied')) || 0;
    state.occupation = data.occupations.includes(params.get('occupation')) ? params.get('occupation') : '';
    for (const { key } of BOUNDS) state.bounds[key] = boundOf(params.get(key));
    for (const { key } of FLAGS) state.flags[key] = params.get(key) === '1';
    showFilters();
  };
  // The fields show the filters of the state.
  const showFilters = () => {
    search.value = state.query;
    classFilter.value = state.socialClass;
    sexFilter.value = state.sex;
    occupationFilter.value = state.occupation;
    for (const { key } of BOUNDS) document.getElementById(key).value = state.bounds[key] ?? '';
    for (const { key } of FLAGS) document.getElementById(key).checked = state.flags[key];
  };
  const writeAddress = () => {
    const params = new URLSearchParams();
    if (state.query) params.set('q', state.query);
    if (state.socialClass) params.set('class', state.socialClass);
    if (state.sex) params.set('sex', state.sex);
    if (state.occupation) params.set('occupation', state.occupation);
    for (const { key } of BOUNDS) if (state.bounds[key] !== null) params.set(key, String(state.bounds[key]));
    for (const { key } of FLAGS) if (state.flags[key]) params.set(key, '1');
    if (state.sort !== 'number' || state.descending) {
      params.set('sort', state.sort);
      params.set('order', state.descending ? 'desc' : 'asc');
    }
    if (state.household) params.set('household', String(state.household));
    if (state.tied) params.set('tied', String(state.tied));
    if (state.person) params.set('person', String(state.person));
    const hash = params.toString();
    try {
      history.replaceState(null, '', hash ? '#' + hash : location.pathname + location.search);
    } catch {
      // A page shown from a Blob (towngen.html's frame) may change only its
      // fragment: an empty one stands for none.
      history.replaceState(null, '', '#');
    }
    tellFrame({ view: hash });
  };

  // An address with #person=N opens that townsperson's card.
  const openAddressedPerson = () => {
    if (state.person) openPerson(state.person);
  };
