// Times towngen.html in headless chromium: how fast it makes townspeople, and
// how long after "Make the town" a town's page shows its first rows.
//   node web_speed.mjs towngen.html [--households] [POPULATION ...]
import { chromium } from 'playwright-core';
import { pathToFileURL } from 'node:url';

const [file, ...rest] = process.argv.slice(2);
const households = rest.includes('--households');
const populations = rest.filter((argument) => argument !== '--households');
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: ['--no-sandbox'] });
for (const population of populations.length ? populations.map(Number) : [10000, 100000, 2000000]) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
  await page.goto(pathToFileURL(file).href);
  await page.fill('#population', String(population));
  await page.fill('#seed', '1');
  if (households) await page.check('#households');
  const started = await page.evaluate(() => performance.now());
  await page.click('#make');
  await page.waitForFunction(() => performance.getEntriesByName('town-shown').length > 0, null, { timeout: 600000 });
  const made = await page.evaluate(() => performance.getEntriesByName('town-made')[0].startTime);
  let frame = null;
  while (!(frame = page.frame({ url: /^blob:/ }))) await page.waitForTimeout(5);
  await frame.waitForSelector('#roster tbody tr[data-position]', { timeout: 600000 });
  const shown = await page.evaluate(() => performance.now());
  const making = (made - started) / 1000;
  console.log(`${population.toLocaleString('en')} townspeople: made in ${making.toFixed(2)} s ` +
    `(${Math.round(population / making).toLocaleString('en')} a second), page shown ${((shown - started) / 1000).toFixed(2)} s after the click`);
  await page.close();
}
await browser.close();
