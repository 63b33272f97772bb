  // The town's data: the JSON block the page writer wrote, its words, the
  // townspeople, and the small helpers every part uses.
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
  // An element with a class and its text set as text, never as markup.
  const element = (tag, className, content) => {
    const made = document.createElement(tag);
    if (className) made.className = className;
    if (content !== undefined) made.textContent = content;
    return made;
  };
