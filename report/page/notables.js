  // The notables and the nobles, written by the page writer, open cards and
  // filter the roster.
  const notableClicked = (event) => {
    const link = event.target.closest('a[data-person]');
    if (!link) return;
    event.preventDefault();
    openPerson(Number(link.dataset.person));
  };
  const showNobles = (event) => {
    event.preventDefault();
    state.socialClass = classFilter.value = 'Noble';
    update();
    scroller.scrollIntoView();
  };
