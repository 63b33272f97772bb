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
  // A noble's and a farmer's occupation is the class's own word: said once.
  // A child too young to work is named by the house alone.
  const cardLine = (p) => `No. ${p.number} \u00b7 ${p.sex} \u00b7 age ${p.age} \u00b7 ` + (namedByHouse(p)
    ? occupationShown(p) : p.socialClass + (p.occupation === p.socialClass ? '' : ` \u00b7 ${p.occupation}`));
  const abilityBoxes = (p) => ABILITIES.map((ability, i) => {
    const box = element('li');
    box.append(element('span', 'ability-label', ability));
    box.append(element('span', 'ability-score', i === 0 ? strength(p) : String(p.abilities[i])));
    return box;
  });
  // A household town's households, from the townspeople the page holds: by
  // the head's number, each member in the order of the town.
  let households = null;
  const membersOf = (household) => {
    if (households === null) {
      households = new Map();
      for (const q of people) {
        if (!q.household) continue;
        if (!households.has(q.household.number)) households.set(q.household.number, []);
        households.get(q.household.number).push(q);
      }
    }
    return households.get(household) || [];
  };
  const personNumbered = (number) => people.find((q) => q.number === number) || notables.get(number);
  // A link that opens townsperson `number`'s card, with `words` after it.
  const personLink = (number, words) => {
    const q = personNumbered(number);
    const link = element('a');
    link.href = `#person=${number}`;
    link.dataset.person = String(number);
    link.append(q ? isolated(name(q)) : `No. ${number}`);
    return [link, words];
  };
  const householdFacts = (p) => {
    const h = p.household;
    const members = membersOf(h.number).map((q) => personLink(q.number, `, ${q.household.role}, age ${q.age}`));
    const actions = element('span', 'household-actions');
    const show = element('a', '', 'Show in the roster');
    show.href = `#household=${h.number}`;
    show.dataset.household = String(h.number);
    const print = element('button', '', 'Print the household');
    print.type = 'button';
    print.dataset.printHousehold = String(h.number);
    actions.append(show, ' \u00b7 ', print);
    // A page of a large town holds a sample of its townspeople: the card
    // says so rather than pass the members it holds for the household.
    const sampleNote = people.length < data.population
      ? [element('span', 'household-note', 'Members outside this page\u2019s sample are not listed.')] : [];
    const facts = [fact('Household', ...members, ...sampleNote, actions)];
    if (h.kin.length) {
      facts.push(fact('Kin elsewhere', ...h.kin.map((k) => [`${k.tie}: `, ...personLink(k.number, ', head of a household')])));
    }
    return facts;
  };
  // A tied townsperson's occupation, as the page shows it, or a word that
  // the page's sample lacks them.
  const tiedAs = (number) => {
    const q = personNumbered(number);
    return q ? `, ${occupationShown(q)}` : ', not in this page\u2019s sample';
  };
  // A town with ties: each tie as its line words it, the one tied to as a
  // link, and the way to show them all in the roster.
  const tiedLink = (number, words) =>
    (personNumbered(number) ? personLink(number, words) : [`No. ${number.toLocaleString('en')}`, words]);
  const tieFacts = (p) => {
    const ties = p.ties.map((t) => [
      TIE_WORDS[t.word] + (t.amount ? ` ${t.amount.toLocaleString('en')} gp` : '') + TIE_JOINS[t.word],
      ...tiedLink(t.with, tiedAs(t.with))]);
    if (!ties.length) return [fact('Ties', 'none beyond the household')];
    const show = element('a', 'tie-actions', 'Show their ties in the roster');
    show.href = `#tied=${p.number}`;
    show.dataset.tied = String(p.number);
    return [fact('Ties', ...ties, show)];
  };
  // What a trait speaks of (a rival, a lover, a debt, a patron), as
  // townsperson/tie_rules.h reads it, and the tie of `p` that answers it.
  const NEED_STARTS = (data.tieNeedStarts || []).map((starts) => starts.split('|'));
  const NEED_ANSWERS = (data.tieNeedAnswers || []).map((answers) => answers.split(' ').map(Number));
  const tieSpokenOf = (p, trait) => {
    if (!p.ties || trait === null) return null;
    const text = ' ' + trait.replace(/_/g, ' ') + ' ';
    for (let need = 0; need < NEED_STARTS.length; need++) {
      if (!NEED_STARTS[need].some((start) => text.includes(' ' + start))) continue;
      const tie = p.ties.find((t) => NEED_ANSWERS[need].includes(t.word));
      if (tie) return tie;
    }
    return null;
  };
  // A townsperson's traits, under the name: each kind with its words, every
  // trait set as text, and one that speaks of someone linked to them.
  const TRAIT_TERMS = { appearance: 'Looks', manner: 'Manner', motive: 'Wants', quirk: 'Quirk', secret: 'Secret' };
  const traitFacts = (p) => {
    const list = element('dl', 'card-facts card-traits');
    list.append(...TRAIT_KINDS.map((kind, i) => {
      if (p.traits[i] === null) return fact(TRAIT_TERMS[kind] || kind, 'none');
      const tie = tieSpokenOf(p, p.traits[i]);
      const spoken = tie ? [' \u2014 ', ...tiedLink(tie.with, '')] : [];
      return fact(TRAIT_TERMS[kind] || kind, [isolated(p.traits[i]), ...spoken]);
    }));
    return list;
  };
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
      fact('Wealth', `${gold(p.wealth)} gp in coins and gems`),
      ...(p.ties ? tieFacts(p) : []),
      ...(p.household ? householdFacts(p) : [])];
  };
  const fillCard = (p) => {
    document.getElementById('block-title').textContent = name(p);
    document.getElementById('card-line').textContent = cardLine(p);
    document.getElementById('card-traits')?.remove();
    if (p.traits) {
      const traits = traitFacts(p);
      traits.id = 'card-traits';
      document.getElementById('card-line').after(traits);
    }
    document.getElementById('card-abilities').replaceChildren(...abilityBoxes(p));
    document.getElementById('card-facts').replaceChildren(...cardFacts(p));
    document.getElementById('block-text').textContent = blockOf(p);
  };
  // In towngen.html's frame, which is as tall as the page, a card would stand
  // in the middle of the whole frame, out of sight: each card shown is put
  // at the top of the part of the frame in sight, and the page around is
  // asked to bring that top into its window. A card put before the frame
  // heard what is in sight is put again once it has.
  let cardPlacedUnseen = false;
  const placeCard = () => {
    if (!inFrame) return;
    const top = Math.max(0, outerView ? outerView.top : 0) + 12;
    dialog.style.top = `${top}px`;
    cardPlacedUnseen = outerView === null;
    tellFrame({ cardTop: top });
  };
  const showCard = (p, hasPrevious, hasNext) => {
    fillCard(p);
    state.person = p.number;
    writeAddress();
    document.getElementById('card-previous').disabled = !hasPrevious;
    document.getElementById('card-next').disabled = !hasNext;
    if (!dialog.open) {
      dialog.showModal();
      document.getElementById('block-title').focus({ preventScroll: true });  // the name is read first
    }
    placeCard();
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

  // The card's links open other cards, show the household in the roster, or
  // print it.
  const cardClicked = (event) => {
    const link = event.target.closest('a[data-person], a[data-household], a[data-tied], button[data-print-household]');
    if (!link) return;
    event.preventDefault();
    if (link.dataset.person) {
      openPerson(Number(link.dataset.person));
    } else if (link.dataset.household) {
      dialog.close();
      state.household = Number(link.dataset.household);
      update();
      scroller.scrollIntoView();
    } else if (link.dataset.tied) {
      dialog.close();
      state.tied = Number(link.dataset.tied);
      update();
      scroller.scrollIntoView();
    } else {
      dialog.close();
      printPeople(membersOf(Number(link.dataset.printHousehold)));
    }
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
