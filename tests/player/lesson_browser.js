// Opens player pages in Debian's chromium, headless, as a teacher's browser
// would, and reports what they showed. Reads one job (JSON) from the file
// named by the first argument and writes the report (JSON) to the second:
//
//   job:    { "shots": [{ "url", "file" }], "play": "url", "messages": [{ "url" }] }
//   report: { "shots": [{ "state", "time", "message" }],
//             "play": { "state", "before", "after" },
//             "messages": [{ "state", "message" }],
//             "outside": [addresses asked for beyond the loopback interface] }
//
// Each shot is the board of a paused player at the `t` of its address, saved
// as a PNG. "play" makes the lesson play (clicking the play button when the
// browser did not start it) and reads the media clock before and after it ran. Every wait has a deadline; a page that never settles is
// reported with the state "timeout".
const fs = require('fs');
const { chromium } = require('playwright-core');

const kSettleMs = 30000;
const kPlayMs = 15000;

function isLoopback(address) {
  try {
    const host = new URL(address).hostname;
    return host === '127.0.0.1' || host === '[::1]' || host === 'localhost' || /^127\./.test(host);
  } catch (e) {
    return true;  // data: and blob: addresses
  }
}

// Waits until the page shows a lesson or a message. With `pause`, a lesson
// that started playing by itself is paused the moment it is ready, so the
// shot shows (nearly) the moment its address names.
async function settle(page, url, outside, pause) {
  page.on('request', (request) => {
    if (/^https?:|^wss?:/.test(request.url()) && !isLoopback(request.url()))
      outside.push(request.url());
  });
  await page.goto(url, { timeout: kSettleMs });
  try {
    await page.waitForFunction((pauseIt) => {
      const state = document.body.dataset.state;
      const playing = document.body.dataset.playing === '1';
      if (state === 'ready' && playing && pauseIt)
        document.getElementById('play').click();
      return state === 'error' || (state === 'ready' && !(playing && pauseIt));
    }, pause, { timeout: kSettleMs, polling: 'raf' });
  } catch (e) {
    return { state: 'timeout', time: -1, message: '' };
  }
  return page.evaluate(() => ({
    state: document.body.dataset.state,
    time: Number(document.body.dataset.time || -1),
    message: document.getElementById('message').hidden ? '' : document.getElementById('message').textContent,
  }));
}

async function main() {
  const job = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
  const report = { shots: [], play: null, messages: [], outside: [] };
  const browser = await chromium.launch({
    executablePath: process.env.DRAVIK_TEST_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    timeout: kSettleMs,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  try {
    const context = await browser.newContext({ viewport: { width: 1000, height: 800 } });
    // Anything beyond the loopback interface is refused and reported.
    await context.route((url) => !isLoopback(url.href), (route) => route.abort());

    for (const shot of job.shots || []) {
      const page = await context.newPage();
      const result = await settle(page, shot.url, report.outside, true);
      if (result.state === 'ready')
        await page.locator('#stage').screenshot({ path: shot.file, timeout: kSettleMs });
      report.shots.push(result);
      await page.close();
    }

    if (job.play) {
      const page = await context.newPage();
      const result = await settle(page, job.play, report.outside, false);
      const clock = () => page.evaluate(() => {
        const media = document.getElementById('camera').hidden ? document.getElementById('sound')
                                                                : document.getElementById('camera');
        return media.currentTime;
      });
      result.before = await clock();
      result.after = result.before;
      if (result.state === 'ready') {
        // A browser that refused to start the sound by itself plays it on a click.
        if (await page.evaluate(() => document.body.dataset.playing !== '1'))
          await page.click('#play', { timeout: kSettleMs });
        try {
          await page.waitForFunction((start) => {
            const media = document.getElementById('camera').hidden ? document.getElementById('sound')
                                                                    : document.getElementById('camera');
            return media.currentTime > start + 0.5;
          }, result.before, { timeout: kPlayMs });
        } catch (e) {
          // reported by the clock not having moved
        }
        result.after = await clock();
      }
      report.play = result;
      await page.close();
    }

    for (const entry of job.messages || []) {
      const page = await context.newPage();
      report.messages.push(await settle(page, entry.url, report.outside, false));
      await page.close();
    }
  } finally {
    await browser.close();
  }
  fs.writeFileSync(process.argv[3], JSON.stringify(report, null, 2));
}

main().catch((e) => {
  console.error(String(e && e.stack || e));
  process.exit(1);
});
