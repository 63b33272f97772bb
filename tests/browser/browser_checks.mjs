// What the browser tests share: their options, their tools (or a skip), the
// checks they gather, and the checks of a page's text size and accessibility.
import { createRequire } from 'node:module';
import { existsSync } from 'node:fs';

export const SKIP = 77;
export const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';

// "--name value" pairs of the command line.
export const options = Object.fromEntries(
  process.argv.slice(2).reduce((pairs, word, i, all) => (i % 2 ? pairs : [...pairs, [word.slice(2), all[i + 1]]]), []),
);

// playwright-core's chromium and axe-core's script; exits as skipped without
// them or without `needed` files.
export const browserTools = async (needed = []) => {
  for (const file of [browserPath, ...needed]) {
    if (!existsSync(file)) {
      console.log(`skipped: no ${file}`);
      process.exit(SKIP);
    }
  }
  try {
    const { chromium } = await import('playwright-core');
    return { chromium, axePath: createRequire(import.meta.url).resolve('axe-core/axe.min.js') };
  } catch {
    console.log('skipped: no playwright-core or axe-core (npm ci in tests/browser)');
    return process.exit(SKIP);
  }
};

export const failures = [];
export const check = (what, ok, detail = '') => { if (!ok) failures.push(`${what}${detail ? `: ${detail}` : ''}`); };
export const same = (what, actual, expected) => check(what, JSON.stringify(actual) === JSON.stringify(expected),
  `got ${JSON.stringify(actual).slice(0, 400)}, expected ${JSON.stringify(expected).slice(0, 400)}`);

// What no page may do: open a dialog, log an error, or ask for anything but
// its own address (and, with `ownBlobs`, the Blobs it makes itself).
const watched = { dialogs: [], errors: [], requests: [] };
export const watch = (page, pageUrl, ownBlobs = false) => {
  page.on('dialog', (dialog) => { watched.dialogs.push(dialog.message()); dialog.dismiss(); });
  page.on('console', (message) => { if (message.type() === 'error') watched.errors.push(message.text()); });
  page.on('pageerror', (error) => watched.errors.push(error.message));
  page.on('request', (request) => {
    const url = request.url();
    if (url.split('#')[0] !== pageUrl && !(ownBlobs && url.startsWith('blob:'))) watched.requests.push(url);
  });
};

// Exits 1 with every failed check, or 0 saying `passed`; checks first that
// no watched page did what no page may do.
export const report = (passed) => {
  same('no dialog opened', watched.dialogs, []);
  same('no error in the console', watched.errors, []);
  same('no request beyond the page', watched.requests, []);
  if (failures.length) {
    console.log(`FAILED ${failures.length} checks:\n- ${failures.join('\n- ')}`);
    process.exit(1);
  }
  console.log(passed);
};

// Texts shown smaller than 12 CSS pixels: HTML by its font size, chart text
// by its font size as the SVG is scaled on screen.
export const smallTexts = (page) => page.evaluate(() => {
  const small = [];
  const shown = (element) => element.getClientRects().length > 0;
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    const element = node.parentElement;
    if (!node.textContent.trim() || element.closest('svg, script, .visually-hidden') || !shown(element)) continue;
    const size = parseFloat(getComputedStyle(element).fontSize);
    if (size < 12) small.push(`${size}px "${node.textContent.trim().slice(0, 24)}"`);
  }
  for (const text of document.querySelectorAll('svg text')) {
    if (!shown(text)) continue;
    const size = parseFloat(getComputedStyle(text).fontSize) * text.getScreenCTM().a;
    if (size < 11.95) small.push(`${size.toFixed(1)}px in a chart: "${text.textContent.slice(0, 24)}"`);
  }
  return small.slice(0, 8);
});

// axe-core's serious and critical findings on `page`, whose context must
// bypass the page's Content-Security-Policy to let axe-core in; frames left out.
export const seriousFindings = async (page, axePath) => {
  if (!(await page.evaluate(() => 'axe' in window))) await page.addScriptTag({ path: axePath });
  return page.evaluate(async () => (await window.axe.run({ exclude: [['iframe']] }, { iframes: false }))
    .violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.id}: ${v.nodes.slice(0, 3).map((n) => n.target.join(' ')).join(', ')}`));
};
