// The Foundry file through a small typed loader: where Foundry's types ask
// for a constant (the page format, a result's type, a folder's kind and
// sorting), the file's number or string is narrowed to it; everything else
// is checked as the file holds it.
import file from "./town.json" with { type: "json" };

const oneOf = <T extends string>(value: string, choices: readonly T[]): T => {
  if (!(choices as readonly string[]).includes(value)) throw new Error(`not one of ${choices}: ${value}`);
  return value as T;
};

type Page = (typeof file.journal)[number]["pages"][number];
const page = (p: Page): JournalEntryPage.CreateData => ({
  _id: p._id, name: p.name, type: oneOf(p.type, ["text"] as const), title: p.title,
  text: { content: p.text.content, format: CONST.JOURNAL_ENTRY_PAGE_FORMATS.HTML },
});
export const folders: Folder.CreateData[] = file.folders.map((f) => ({
  ...f, type: oneOf(f.type, ["JournalEntry", "RollTable"] as const), sorting: oneOf(f.sorting, ["a", "m"] as const),
}));
export const journal: JournalEntry.CreateData[] = file.journal.map((e) => ({
  _id: e._id, name: e.name, folder: e.folder, pages: e.pages.map(page),
}));

// A result holds nothing Foundry's result does not know.
type Result = (typeof file.rollTables.v12)[number]["results"][number];
type Unknown = Exclude<keyof Result, keyof TableResult.CreateData>;
export const resultsKnown: [Unknown] extends [never] ? true : Unknown = true;
export const tables: RollTable.CreateData[] = file.rollTables.v12.map((t) => ({
  ...t,
  results: t.results.map((r) => ({
    ...r, type: CONST.TABLE_RESULT_TYPES.DOCUMENT, range: [r.range[0], r.range[1]] as [number, number],
  })),
}));
