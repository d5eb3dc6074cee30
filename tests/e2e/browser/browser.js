// What the browser scripts share: a headless Chromium that may only open loopback pages,
// a page that records every script error, console error and failed request, and the
// page's visible text.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

function Arguments(argv, required) {
  const args = {};
  for (let i = 2; i + 1 < argv.length; i += 2) args[argv[i].replace(/^--/, '')] = argv[i + 1];
  for (const name of required) {
    if (!args[name]) throw new Error(`missing --${name}`);
  }
  return args;
}

// The certificate check is switched off below, so a page may only ever be a loopback one.
function RequireLoopback(address) {
  const host = new URL(address).hostname;
  if (host !== '127.0.0.1' && host !== 'localhost' && host !== '[::1]') {
    throw new Error(`refusing a non-loopback page: ${address}`);
  }
}

// Runs `visit(page, report)` in a fresh browser and profile; `report.errors` collects
// what went wrong in the page itself.
async function WithPage(chromium, visit) {
  const report = {errors: [], checks: [], pages: []};
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vpsdesk-browser-'));
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    // Generous: a loaded CI machine starts Chromium slowly.
    timeout: 120000,
    protocolTimeout: 120000,
    args: [
      // The platform's certificate comes from its own throw-away CA. Pages are checked to
      // be on loopback, so ignoring certificate errors exposes nothing else.
      '--ignore-certificate-errors',
      // CI runs as root, where Chromium's sandbox cannot start.
      '--no-sandbox',
      '--disable-gpu',
      '--disable-dev-shm-usage',
      '--no-first-run',
      '--no-default-browser-check',
    ],
  });
  try {
    const page = await browser.newPage();
    page.setDefaultTimeout(120000);
    page.setDefaultNavigationTimeout(120000);
    page.on('pageerror', (error) => report.errors.push(`pageerror: ${error.message}`));
    page.on('console', (message) => {
      if (message.type() !== 'error') return;
      const where = message.location() && message.location().url;
      report.errors.push(`console: ${message.text()}${where ? ` (${where})` : ''}`);
    });
    page.on('requestfailed', (request) => {
      report.errors.push(`request failed: ${request.url()} ${request.failure()?.errorText}`);
    });
    await visit(page, report);
  } finally {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  return report;
}

async function BodyText(page) {
  return page.evaluate(() => document.body ? document.body.innerText : '');
}

// Clicks the button captioned `caption` and waits for the page it leads to; false when
// the page has no such button.
async function ClickButton(page, caption) {
  const buttons = await page.$$('button, input[type=submit]');
  for (const button of buttons) {
    const text = await button.evaluate((b) => (b.innerText || b.value || '').trim());
    if (text !== caption) continue;
    await Promise.all([page.waitForNavigation({waitUntil: 'load'}), button.click()]);
    return true;
  }
  return false;
}

// Prints the report as one JSON line and exits 0 only when the page behaved.
function Finish(promise) {
  promise.then(
    (report) => {
      process.stdout.write(JSON.stringify(report) + '\n');
      process.exit(report.errors.length === 0 && report.checks.length === 0 ? 0 : 1);
    },
    (error) => {
      process.stdout.write(JSON.stringify({fatal: String(error && error.stack || error)}) + '\n');
      process.exit(2);
    });
}

module.exports = {Arguments, RequireLoopback, WithPage, BodyText, ClickButton, Finish};
