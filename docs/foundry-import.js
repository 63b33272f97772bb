// Foundry VTT script macro: imports a town that `towncensus --foundry` wrote.
// Make a macro of type "script", paste this in, run it and pick the file.
// It makes the town's folders, journal entries and roll tables with the ids
// the file gives them, so that every link between them holds.
async function importTown(town, { Folder, JournalEntry, RollTable, game, notify }) {
  if (town?.towngen !== "foundry" || town.format !== 1) {
    return notify.error("This is not a town file that towncensus --foundry wrote.");
  }
  const taken = town.journal.find((entry) => game.journal.get(entry._id));
  if (taken) {
    return notify.error(`${town.town} is in this world already: delete its folders to import it again.`);
  }
  // Version 13 words a table's results differently from version 12.
  const tables = game.release.generation >= 13 ? town.rollTables.v13 : town.rollTables.v12;
  const keep = { keepId: true, keepEmbeddedIds: true };
  await Folder.createDocuments(town.folders, keep);
  await JournalEntry.createDocuments(town.journal, keep);
  await RollTable.createDocuments(tables, keep);
  notify.info(`Imported ${town.town}: ${town.journal.length} journal entries, ${tables.length} roll tables.`);
}

const picker = document.createElement("input");
picker.type = "file";
picker.accept = ".json,application/json";
picker.addEventListener("change", async () => {
  const api = { Folder, JournalEntry, RollTable, game, notify: ui.notifications };
  try {
    await importTown(JSON.parse(await picker.files[0].text()), api);
  } catch (error) {
    ui.notifications.error(`The town could not be imported: ${error.message}`);
  }
});
picker.click();
