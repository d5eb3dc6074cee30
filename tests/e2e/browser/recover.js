#!/usr/bin/env node
// Recovers a password on the platform's recovery page in headless Chromium, as a customer
// would: fills in the account and the mobile number, clicks "找回密码" and reads the
// answer. Prints one JSON line with what it saw; exits 0 only when the page behaved and
// said the new password is on its way.
//
//   node recover.js --url URL --account NAME --mobile NUMBER --chromium /usr/bin/chromium
'use strict';

const {Arguments, RequireLoopback, WithPage, BodyText, ClickButton, Finish} =
    require('./browser');

async function Recover(args, page, report) {
  const opened = await page.goto(args.url, {waitUntil: 'load'});
  report.pages.push(await BodyText(page));
  if (!opened || opened.status() !== 200) {
    report.checks.push(`the recovery page answered ${opened ? opened.status() : 'nothing'}`);
  }
  for (const [name, value] of [['username', args.account], ['mobi', args.mobile]]) {
    const box = await page.$(`input[name=${name}]`);
    if (!box) {
      report.checks.push(`no "${name}" box`);
      return;
    }
    await box.type(value);
  }
  if (!(await ClickButton(page, '找回密码'))) {
    report.checks.push('no "找回密码" button');
    return;
  }
  const answer = await BodyText(page);
  report.pages.push(answer);
  if (!answer.includes('新密码已通过短信发送')) report.checks.push('no word of the new password');
}

const args = Arguments(process.argv, ['url', 'account', 'mobile', 'chromium']);
RequireLoopback(args.url);
Finish(WithPage(args.chromium, (page, report) => Recover(args, page, report)));
