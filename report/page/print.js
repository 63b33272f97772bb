  // "Print cards": the ticked townspeople, or else the whole view, as cards
  // several to a sheet; the page as a whole prints as before.
  const MOST_PRINTED = 1000;
  const printSheet = document.getElementById('print-sheet');
  const townName = document.querySelector('.masthead h1').textContent;  // on every card
  const printCards = () => {
    printPeople(ticked.size
      ? people.filter((p) => ticked.has(p.number))
      : view.slice(0, MOST_PRINTED).map((i) => people[i]));
  };
  const printPeople = (chosen) => {
    printSheet.replaceChildren(...chosen.map((p) => {
      const card = element('article', 'print-card');
      const abilities = element('ul', 'abilities');
      abilities.append(...abilityBoxes(p));
      const facts = element('dl', 'card-facts');
      facts.append(...cardFacts(p));
      card.append(element('p', 'card-town', townName), element('h2', '', name(p)),
        element('p', 'card-line', cardLine(p)), ...(p.traits ? [traitFacts(p)] : []), abilities, facts);
      return card;
    }));
    document.body.classList.add('printing-cards');
    window.print();
  };
  // Printing the page prints every row of the view; printing cards, the cards alone.
  const beforePrint = () => {
    if (document.body.classList.contains('printing-cards')) return;  // the roster stays hidden
    printing = true;
    render();
  };
  const afterPrint = () => {
    document.body.classList.remove('printing-cards');
    printSheet.replaceChildren();
    printing = false;
    render();
  };
