#!/usr/bin/env node
// Pays one order on the platform's payment page in headless Chromium, as a customer would:
// the page must name the account and the amount, "支付" must credit, and paying the same
// order again (the button once more, then a repeated post) must not. Prints one JSON line
// with what it saw; exits 0 only when the page behaved.
//
//   node pay.js --url URL --account NAME --amount 12.34 --chromium /usr/bin/chromium
'use strict';

const {Arguments, RequireLoopback, WithPage, BodyText, ClickButton, Finish} =
    require('./browser');

async function Pay(args, page, report) {
  const opened = await page.goto(args.url, {waitUntil: 'load'});
  const shown = await BodyText(page);
  report.pages.push(shown);
  if (!opened || opened.status() !== 200) {
    report.checks.push(`the payment page answered ${opened ? opened.status() : 'nothing'}`);
  }
  if (!shown.includes(`充值账号：${args.account}`)) report.checks.push('the account is not shown');
  if (!shown.includes(`充值金额：${args.amount}`)) report.checks.push('the amount is not shown');

  if (!(await ClickButton(page, '支付'))) report.checks.push('no "支付" button');
  report.pages.push(await BodyText(page));

  // A customer going back to the order, from the history and afresh, and paying again.
  await page.goBack({waitUntil: 'load'});
  if (await ClickButton(page, '支付')) report.pages.push(await BodyText(page));
  await page.goto(args.url, {waitUntil: 'load'});
  report.pages.push(await BodyText(page));
  if (await ClickButton(page, '支付')) report.pages.push(await BodyText(page));

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
}

const args = Arguments(process.argv, ['url', 'account', 'amount', 'chromium']);
RequireLoopback(args.url);
Finish(WithPage(args.chromium, (page, report) => Pay(args, page, report)));
