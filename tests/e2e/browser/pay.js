#!/usr/bin/env node
// Pays one order on the platform's payment page in headless Chromium, as a customer would:
// the page must name the account and the amount, "支付" must credit, and paying the same
// order again (the button once more, then a repeated post) must not. Prints one JSON line
// with what it saw; exits 0 only when the page behaved.
//
//   node pay.js --url URL --account NAME --amount 12.34 --chromium /usr/bin/chromium
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

function Arguments(argv) {
  const args = {};
  for (let i = 2; i + 1 < argv.length; i += 2) args[argv[i].replace(/^--/, '')] = argv[i + 1];
  for (const name of ['url', 'account', 'amount', 'chromium']) {
    if (!args[name]) throw new Error(`missing --${name}`);
  }
  return args;
}

// The certificate check is switched off below, so the page may only ever be a loopback one.
function RequireLoopback(address) {
  const host = new URL(address).hostname;
  if (host !== '127.0.0.1' && host !== 'localhost' && host !== '[::1]') {
    throw new Error(`refusing a non-loopback payment page: ${address}`);
  }
}

async function BodyText(page) {
  return page.evaluate(() => document.body ? document.body.innerText : '');
}

// Clicks the button captioned "支付" and waits for the page it leads to; false when the
// page has no such button.
async function ClickPay(page) {
  const buttons = await page.$$('button, input[type=submit]');
  for (const button of buttons) {
    const caption = await button.evaluate((b) => (b.innerText || b.value || '').trim());
    if (caption !== '支付') continue;
    await Promise.all([page.waitForNavigation({waitUntil: 'load'}), button.click()]);
    return true;
  }
  return false;
}

async function Main() {
  const args = Arguments(process.argv);
  RequireLoopback(args.url);
  const report = {errors: [], checks: [], pages: []};
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vpsdesk-pay-'));
  const browser = await puppeteer.launch({
    executablePath: args.chromium,
    headless: true,
    userDataDir: profile,
    // Generous: a loaded CI machine starts Chromium slowly.
    timeout: 120000,
    protocolTimeout: 120000,
    args: [
      // The platform's certificate comes from its own throw-away CA. The page is checked
      // to be on loopback above, so ignoring certificate errors exposes nothing else.
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

    const opened = await page.goto(args.url, {waitUntil: 'load'});
    const shown = await BodyText(page);
    report.pages.push(shown);
    if (!opened || opened.status() !== 200) {
      report.checks.push(`the payment page answered ${opened ? opened.status() : 'nothing'}`);
    }
    if (!shown.includes(`充值账号：${args.account}`)) report.checks.push('the account is not shown');
    if (!shown.includes(`充值金额：${args.amount}`)) report.checks.push('the amount is not shown');

    if (!(await ClickPay(page))) report.checks.push('no "支付" button');
    report.pages.push(await BodyText(page));

    // A customer going back to the order, from the history and afresh, and paying again.
    await page.goBack({waitUntil: 'load'});
    if (await ClickPay(page)) report.pages.push(await BodyText(page));
    await page.goto(args.url, {waitUntil: 'load'});
    report.pages.push(await BodyText(page));
    if (await ClickPay(page)) report.pages.push(await BodyText(page));

    // The same confirmation posted again, as a browser resubmitting the form does.
    const order = new URL(args.url).searchParams.get('order');
    const repost = await page.evaluate(async (token) => {
      const reply = await fetch('/user/pay/confirm', {
        method: 'POST',
        headers: {'Content-Type': 'application/x-www-form-urlencoded'},
        body: `order=${encodeURIComponent(token)}`,
      });
      return {status: reply.status};
    }, order);
    report.repost_status = repost.status;
  } finally {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
  process.stdout.write(JSON.stringify(report) + '\n');
  return report.errors.length === 0 && report.checks.length === 0 ? 0 : 1;
}

Main().then(
  (code) => process.exit(code),
  (error) => {
    process.stdout.write(JSON.stringify({fatal: String(error && error.stack || error)}) + '\n');
    process.exit(2);
  });
