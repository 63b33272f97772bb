  // The view in the address after '#', read on load and on every change of
  // it, and written back as the view changes.
  const state = { query: '', socialClass: '', sex: '', sort: 'number', descending: false, person: 0 };
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
    try {
      history.replaceState(null, '', hash ? '#' + hash : location.pathname + location.search);
    } catch {
      // A page shown from a Blob (towngen.html's frame) may change only its
      // fragment: an empty one stands for none.
      history.replaceState(null, '', '#');
    }
  };

  // An address with #person=N opens that townsperson's card.
  const openAddressedPerson = () => {
    if (state.person) openPerson(state.person);
  };
