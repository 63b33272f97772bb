  // The character card of a townsperson: every text is set as text.
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
      gems.push([isolated(p.gemList[i]), ` (${gold(Number(p.gemList[i + 1]))} gp)`]);
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
    document.getElementById('block-text').textContent = blockOf(p);
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

  const move = (step) => { if (!cardOutsideView) openRow(cursor + step); };
  const cardKeyPressed = (event) => {
    if (event.key === 'ArrowLeft' || event.key === 'ArrowUp') move(-1);
    else if (event.key === 'ArrowRight' || event.key === 'ArrowDown') move(1);
    else return;
    event.preventDefault();
  };
  const cardClosed = () => {
    state.person = 0;
    writeAddress();
    focusRow(cursor);
  };
