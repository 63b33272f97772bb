// Prints how many milliseconds after navigation the town page's roster first
// showed in headless chromium (the page marks it "roster-shown").
//   node page_load.mjs PAGE.html
import { chromium } from 'playwright-core';
import { pathToFileURL } from 'node:url';

const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: ['--no-sandbox'] });
const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
await page.goto(pathToFileURL(process.argv[2]).href);
await page.waitForFunction(() => performance.getEntriesByName('roster-shown').length > 0, null, { timeout: 60000 });
console.log(Math.round(await page.evaluate(() => performance.getEntriesByName('roster-shown')[0].startTime)));
await browser.close();
