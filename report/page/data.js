  // The town's data: the JSON block the page writer wrote, its words, the
  // townspeople, and the small helpers every part uses.
  const data = JSON.parse(document.getElementById('town-data').textContent);
  // The words of the data, written by the page writer from its tables.
  const { sexes: SEXES, classes: CLASSES, abilities: ABILITIES, coins: COIN_LABELS } = data;
  const COPPER_PER_COIN = data.copperPerCoin;
  const [GEMS_HEADING, ITEMS_HEADING] = data.headings;
  const [NAME_LABEL, MALE_LABEL, FEMALE_LABEL, OCCUPATION_LABEL, AGE_LABEL, COINS_HEADING] = data.labels;
  const OVERSCAN = 8;

  // A household town's words: roles, ties to kin, and the household line's labels.
  const ROLES = data.roles || [];
  const KIN_TIES = data.kinTies || [];
  const [HOUSEHOLD_LABEL, SPOUSE_LABEL, FATHER_LABEL, MOTHER_LABEL, KIN_LABEL] = data.householdLabels || [];
  // [household, role, spouse, father, mother, [tie, number, ...]]: 0 for no one.
  const householdOf = (h) => {
    const kin = [];
    for (let i = 0; i < h[5].length; i += 2) kin.push({ tie: KIN_TIES[h[5][i]], number: h[5][i + 1] });
    return { number: h[0], role: ROLES[h[1]], spouse: h[2], father: h[3], mother: h[4], kin };
  };
  // The household line as the town file holds it.
  const householdLine = (h) => {
    const links = [[SPOUSE_LABEL, h.spouse], [FATHER_LABEL, h.father], [MOTHER_LABEL, h.mother]]
      .filter(([, number]) => number).map(([label, number]) => label + number).join('');
    const kin = h.kin.map((k) => `${k.tie} ${k.number}`).join(', ');
    return `${HOUSEHOLD_LABEL}${h.number} ${h.role}${links}${kin ? KIN_LABEL + kin : ''}`;
  };

  // A town with traits' words: the kinds, and the traits line's label,
  // separator and mark of none.
  const TRAIT_KINDS = data.traitKinds || [];
  const [TRAITS_LABEL, TRAIT_SEPARATOR, NO_TRAIT] = data.traitsLabels || [];
  const traitsLine = (traits) => TRAITS_LABEL + traits.map((t) => (t === null ? NO_TRAIT : t)).join(TRAIT_SEPARATOR);

  // A town with ties' words: each kind's two sides and joins (by kind, then
  // side), the ties line's label, separator, mark of none and unit, and
  // what a trait that speaks of someone starts with, with the ties that
  // answer it.
  const TIE_WORDS = data.tieWords || [];
  const TIE_JOINS = data.tieJoins || [];
  const [TIES_LABEL, TIE_SEPARATOR, NO_TIE, TIE_UNIT] = data.tiesLabels || [];
  // [word, number, amount, ...]: the word by its place in TIE_WORDS.
  const tiesOf = (t) => {
    const ties = [];
    for (let i = 0; i < t.length; i += 3) ties.push({ word: t[i], with: t[i + 1], amount: t[i + 2] });
    return ties;
  };
  const tieText = (t) => TIE_WORDS[t.word] + (t.amount ? ` ${t.amount}${TIE_UNIT}` : '') + TIE_JOINS[t.word] + t.with;
  const tiesLine = (ties) => TIES_LABEL + (ties.length ? ties.map(tieText).join(TIE_SEPARATOR) : NO_TIE);

  // The optional lines of a town, by the names of their fields: how a field
  // is read, and its line of the block. The town's own are those data.fields
  // names, in the order its blocks hold them; a person of a town without
  // one has null for it.
  const OPTIONAL_LINES = {
    household: { read: householdOf, line: householdLine },
    traits: { read: (traits) => traits, line: traitsLine },
    ties: { read: tiesOf, line: tiesLine },
  };
  const townLines = data.fields.filter((field) => Object.hasOwn(OPTIONAL_LINES, field));

  // One entry of the JSON block, its fields found by the names in data.fields.
  const at = Object.fromEntries(data.fields.map((field, i) => [field, i]));
  const personOf = (r) => {
    const person = {
      number: r[at.number], first: r[at.first], last: r[at.last], sex: SEXES[r[at.sex]],
      occupation: data.occupations[r[at.occupation]], socialClass: CLASSES[r[at.socialClass]],
      age: r[at.age], abilities: r[at.abilities], percentile: r[at.percentile], coins: r[at.coins],
      gems: r[at.gems], gemWorth: r[at.gemWorth], items: r[at.items], wealth: r[at.wealth],
      block: r[at.block], gemList: r[at.gemList], itemList: r[at.itemList], searchText: null,
    };
    for (const [field, { read }] of Object.entries(OPTIONAL_LINES)) {
      person[field] = at[field] === undefined ? null : read(r[at[field]]);
    }
    return person;
  };
  const people = data.roster.map(personOf);
  // The notables, counted over the whole town, may lie outside the roster's sample.
  const notables = new Map(data.notables.map((r) => [r[at.number], personOf(r)]));

  const name = (p) => p.first + ' ' + p.last;
  // A child of a household town too young to work is named by role and
  // house, never by the family's trade (as report/roster_entry.cc names
  // them for the notables): "son of the limner/painter's house".
  const [HOUSE_NOBLE, HOUSE_FARMER, HOUSE_IDLE, BEFORE_CRAFT, AFTER_CRAFT, IDLE_PREFIX, AT_WORK] =
    data.childHouse || [];
  const namedByHouse = (p) => p.household !== null && p.age < Number(AT_WORK);
  const houseOf = (occupation) => {
    if (occupation === CLASSES[0]) return HOUSE_NOBLE;
    if (occupation === CLASSES[2]) return HOUSE_FARMER;
    if (occupation.startsWith(IDLE_PREFIX)) return HOUSE_IDLE;
    return BEFORE_CRAFT + occupation.replace(/[A-Z]/g, (c) => c.toLowerCase()) + AFTER_CRAFT;
  };
  const occupationShown = (p) => (namedByHouse(p) ? `${p.household.role} of ${houseOf(p.occupation)}` : p.occupation);
  const coinWorth = (p) => p.coins.reduce((sum, count, i) => sum + count * COPPER_PER_COIN[i], 0);
  // The gem and item lines as the town file holds them; a gem's value comes
  // as the town file writes it.
  const gemLine = (p) => {
    const gems = [];
    for (let i = 0; i < p.gemList.length; i += 2) gems.push(`${p.gemList[i]} (${p.gemList[i + 1]}gp)`);
    return gems.join(' ');
  };
  const itemLine = (p) => p.itemList.join(', ');
  // The block as the town file holds it: carried by the page only where the
  // page writer could not rebuild it so (report/roster_entry.cc rebuilds as
  // this does, and compares), else rebuilt here from the fields, once.
  const blockOf = (p) => {
    if (p.block === null) {
      const abilities = ABILITIES.map((label, i) =>
        ` ${label}: ${p.abilities[i]}` + (i === 0 && p.abilities[0] === 18 ? `(${p.percentile})` : '')).join('');
      const coins = p.coins.map((count, i) => (i === 0 || count > 0 ? `${count}${COIN_LABELS[i]}` : ''));
      const lines = [
        `${p.number}${NAME_LABEL}${p.first}${p.last ? ' ' + p.last : ''}` +
          `${p.sex === SEXES[0] ? MALE_LABEL : FEMALE_LABEL}${OCCUPATION_LABEL}${p.occupation}`,
        `${AGE_LABEL}${p.age}${abilities}`];
      for (const field of townLines) lines.push(OPTIONAL_LINES[field].line(p[field]));
      lines.push(COINS_HEADING, coins.filter(Boolean).join(', '));
      if (p.gems) lines.push(GEMS_HEADING, gemLine(p));
      if (p.items) lines.push(ITEMS_HEADING, itemLine(p));
      p.block = lines.join('\n');
    }
    return p.block;
  };
  const searchTextOf = (p) => {
    if (p.searchText === null) {
      p.searchText = [name(p), p.occupation, gemLine(p), itemLine(p), ...(p.traits || [])].join('\n').toLowerCase();
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
