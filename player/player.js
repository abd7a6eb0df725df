// The lesson player: replays a recorded lesson from its unpacked package
// (visit list, drawing script, page PDF, pictures, sound or camera video)
// against the media clock. Everything it reads comes from the package's own
// folder on the local server; nothing is fetched from elsewhere.
import * as pdfjs from './lib/pdf.min.js';

pdfjs.GlobalWorkerOptions.workerSrc = new URL('./lib/pdf.worker.min.js', import.meta.url).href;

// Limits that keep a broken or hostile package from eating the browser.
const kMaxTextBytes = 256 * 1024 * 1024;
const kMaxRecords = 2000000;
const kMaxPageSide = 20000;

const el = (id) => document.getElementById(id);

// ---------------------------------------------------------------- messages

class LessonError {
  constructor(text) { this.text = text; }
}

function showMessage(text) {
  el('player').hidden = true;
  const box = el('message');
  box.textContent = text;
  box.hidden = false;
  document.body.dataset.state = 'error';
}

function addNotice(text) {
  const bar = el('notice');
  bar.textContent = bar.textContent ? bar.textContent + ' ' + text : text;
  bar.hidden = false;
}

// ------------------------------------------------------------- package files

// A name is used only when it names a file right inside its folder.
function isBareName(name) {
  return typeof name === 'string' && name.length > 0 && name.length <= 255 && name !== '.' && name !== '..'
    && !/[\/\\\u0000-\u001f\u007f]/.test(name);
}

class Package {
  constructor(name) {
    this.name = name;
    this.folder = new URL('./' + encodeURIComponent(name) + '/', window.location.href);
  }

  // The address of one file of the package, refused unless it stays inside
  // the package's folder.
  fileUrl(fileName) {
    if (!isBareName(fileName))
      throw new LessonError(`The lesson "${this.name}" is damaged: it names the file "${fileName}", which is not in its folder.`);
    const url = new URL(encodeURIComponent(fileName), this.folder);
    if (url.origin !== this.folder.origin || !url.pathname.startsWith(this.folder.pathname))
      throw new LessonError(`The lesson "${this.name}" is damaged: it names the file "${fileName}", which is not in its folder.`);
    return url.href;
  }

  async exists(fileName) {
    try {
      const reply = await fetch(this.fileUrl(fileName), { method: 'HEAD', cache: 'no-store' });
      return reply.ok;
    } catch (e) {
      return false;
    }
  }

  // The file's text, or null when the package has no such file.
  async text(fileName) {
    let reply;
    try {
      reply = await fetch(this.fileUrl(fileName), { cache: 'no-store' });
    } catch (e) {
      if (e instanceof LessonError)
        throw e;
      throw new LessonError('The lesson cannot be read: the local web server does not answer.');
    }
    if (!reply.ok)
      return null;
    const size = Number(reply.headers.get('Content-Length') || 0);
    if (size > kMaxTextBytes)
      throw new LessonError(`The lesson "${this.name}" is damaged: the file "${fileName}" is too large.`);
    const text = await reply.text();
    if (text.length > kMaxTextBytes)
      throw new LessonError(`The lesson "${this.name}" is damaged: the file "${fileName}" is too large.`);
    return text;
  }

  async xml(fileName) {
    const text = await this.text(fileName);
    if (text === null)
      return null;
    const doc = new DOMParser().parseFromString(text, 'application/xml');
    if (doc.getElementsByTagName('parsererror').length > 0)
      throw new LessonError(`The lesson "${this.name}" is damaged: the file "${fileName}" cannot be read.`);
    return doc;
  }

  async bytes(fileName) {
    const reply = await fetch(this.fileUrl(fileName), { cache: 'no-store' });
    if (!reply.ok)
      return null;
    return new Uint8Array(await reply.arrayBuffer());
  }
}

// ----------------------------------------------------------- what it holds

function numberAttr(node, name, fallback = 0) {
  const value = Number.parseFloat(node.getAttribute(name));
  return Number.isFinite(value) ? value : fallback;
}

function intAttr(node, name, fallback = 0) {
  const value = Number.parseInt(node.getAttribute(name), 10);
  return Number.isFinite(value) ? value : fallback;
}

// The visits of the recording in order, each with the page it showed.
function readVisits(doc, lesson) {
  const root = doc.documentElement;
  if (!root || root.nodeName !== 'NoteList')
    throw new LessonError(`The lesson "${lesson}" is damaged: its page list is not one.`);
  const visits = [];
  const pageOrder = [];
  for (const node of root.getElementsByTagName('NoteInfo')) {
    const create = node.getAttribute('Create') || '';
    let width = intAttr(node, 'NoteWidth');
    let height = intAttr(node, 'NoteHeight');
    if (!(width > 0 && width <= kMaxPageSide && height > 0 && height <= kMaxPageSide)) {
      width = 0;
      height = 0;
    }
    if (!pageOrder.includes(create))
      pageOrder.push(create);
    visits.push({ create, name: node.getAttribute('Name') || '', access: numberAttr(node, 'Access'),
                  width, height, pdfPage: pageOrder.indexOf(create) + 1 });
  }
  if (visits.length === 0)
    throw new LessonError(`The lesson "${lesson}" is damaged: it lists no pages.`);
  return { visits, pdfName: root.getAttribute('PDFName') || '', pageOrder };
}

const kDrawnCodes = new Set([0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 14]);

// The drawing script's records in time order; records of one moment keep
// their written order. Both the board's single group and the regrouped
// per-slot groups are read.
function readScript(doc, lesson) {
  const root = doc.documentElement;
  if (!root || root.nodeName !== 'Event')
    throw new LessonError(`The lesson "${lesson}" is damaged: its drawing script is not one.`);
  const records = [];
  const nodes = root.getElementsByTagName('TO');
  if (nodes.length > kMaxRecords)
    throw new LessonError(`The lesson "${lesson}" is damaged: its drawing script is too large.`);
  for (const node of nodes) {
    const r = {
      slot: intAttr(node, 'PI'), mp: numberAttr(node, 'MP', NaN), ei: intAttr(node, 'EI'), kd: intAttr(node, 'KD', -1),
      bx: numberAttr(node, 'BX'), by: numberAttr(node, 'BY'), bw: numberAttr(node, 'BW'), bh: numberAttr(node, 'BH'),
      nx: numberAttr(node, 'NX'), ny: numberAttr(node, 'NY'), nw: numberAttr(node, 'NW'), nh: numberAttr(node, 'NH'),
      ag: numberAttr(node, 'AG'), pc: node.getAttribute('PC') || '#000000', pw: numberAttr(node, 'PW'),
      tp: intAttr(node, 'TP'), ni: intAttr(node, 'NI'), seq: records.length,
    };
    if (Number.isFinite(r.mp))
      records.push(r);
  }
  records.sort((a, b) => a.mp - b.mp || a.seq - b.seq);
  return { records, width: intAttr(root, 'Width'), height: intAttr(root, 'Height') };
}

// Which page each object lies on, from the pages' own object lists.
function readOwners(doc, create, owners) {
  if (!doc || !doc.documentElement)
    return;
  for (const group of doc.documentElement.children) {
    if (!group.nodeName.startsWith('EM_'))
      continue;
    const slot = intAttr(group, 'Index', Number.parseInt(group.nodeName.slice(3), 10));
    for (const master of group.getElementsByTagName('EM'))
      owners.set(`${slot}:${intAttr(master, 'EI')}`, create);
  }
}

// --------------------------------------------------------------- painting

function colourOf(r) {
  const rgb = /^#[0-9a-fA-F]{6}$/.test(r.pc) ? r.pc : '#000000';
  const alpha = r.tp > 0 && r.tp < 255 ? r.tp / 255 : 1;
  const n = Number.parseInt(rgb.slice(1), 16);
  return `rgba(${(n >> 16) & 255}, ${(n >> 8) & 255}, ${n & 255}, ${alpha})`;
}

function withRotation(ctx, r, draw) {
  ctx.save();
  if (r.ag && Math.abs(r.ag) < 3600 && r.nw && r.nh) {
    const cx = r.nx + r.nw / 2;
    const cy = r.ny + r.nh / 2;
    ctx.translate(cx, cy);
    ctx.rotate(r.ag * Math.PI / 180);
    ctx.translate(-cx, -cy);
  }
  draw();
  ctx.restore();
}

function arrowHead(ctx, from, to, width) {
  const size = Math.max(10, width * 3);
  const angle = Math.atan2(to.y - from.y, to.x - from.x);
  ctx.beginPath();
  ctx.moveTo(to.x, to.y);
  ctx.lineTo(to.x - size * Math.cos(angle - Math.PI / 7), to.y - size * Math.sin(angle - Math.PI / 7));
  ctx.lineTo(to.x - size * Math.cos(angle + Math.PI / 7), to.y - size * Math.sin(angle + Math.PI / 7));
  ctx.closePath();
  ctx.fill();
}

function normalRect(r) {
  const x = r.nw < 0 ? r.nx + r.nw : r.nx;
  const y = r.nh < 0 ? r.ny + r.nh : r.ny;
  return { x, y, w: Math.abs(r.nw), h: Math.abs(r.nh) };
}

// One page's object layer, painted record by record as the board drew it:
// stroke points in order, an erased or changed area cleared and the objects
// still in it painted again.
class PageLayer {
  constructor(canvas, images) {
    this.canvas = canvas;
    this.ctx = canvas.getContext('2d');
    this.images = images;
    this.reset();
  }

  reset() {
    this.ctx.setTransform(1, 0, 0, 1, 0, 0);
    this.ctx.clearRect(0, 0, this.canvas.width, this.canvas.height);
    this.pens = new Map();
  }

  apply(r) {
    const ctx = this.ctx;
    const key = `${r.slot}:${r.ei}`;
    const colour = colourOf(r);
    switch (r.kd) {
    case 0:
      ctx.clearRect(r.bx, r.by, r.bw, r.bh);
      break;
    case 1: {
      const width = Math.max(1, r.pw);
      this.pens.set(key, { x: r.bx, y: r.by, width, colour });
      ctx.fillStyle = colour;
      ctx.beginPath();
      ctx.arc(r.bx, r.by, width / 2, 0, Math.PI * 2);
      ctx.fill();
      break;
    }
    case 2: case 3: case 4: {
      const pen = this.pens.get(key);
      if (!pen)
        break;
      ctx.strokeStyle = pen.colour;
      ctx.lineWidth = pen.width;
      ctx.lineCap = 'round';
      ctx.lineJoin = 'round';
      ctx.beginPath();
      ctx.moveTo(pen.x, pen.y);
      ctx.lineTo(r.bx, r.by);
      ctx.stroke();
      pen.x = r.bx;
      pen.y = r.by;
      if (r.kd === 4)
        this.pens.delete(key);
      break;
    }
    case 14: {
      const image = this.images[r.tp];
      if (!image || !image.complete || !image.naturalWidth)
        break;
      const box = normalRect(r);
      withRotation(ctx, r, () => ctx.drawImage(image, box.x, box.y, box.w, box.h));
      break;
    }
    default:
      this.figure(r, colour);
    }
  }

  figure(r, colour) {
    const ctx = this.ctx;
    const width = Math.max(1, r.pw);
    const box = normalRect(r);
    const from = { x: r.bx, y: r.by };
    const to = { x: r.bw, y: r.bh };
    withRotation(ctx, r, () => {
      ctx.strokeStyle = colour;
      ctx.fillStyle = colour;
      ctx.lineWidth = width;
      ctx.lineCap = 'round';
      ctx.lineJoin = 'round';
      ctx.beginPath();
      switch (r.kd) {
      case 5: case 12: case 13:
        ctx.moveTo(from.x, from.y);
        ctx.lineTo(to.x, to.y);
        ctx.stroke();
        if (r.kd === 12)
          arrowHead(ctx, to, from, width);
        if (r.kd === 13)
          arrowHead(ctx, from, to, width);
        break;
      case 8: case 9:
        ctx.rect(box.x, box.y, box.w, box.h);
        r.kd === 9 ? ctx.fill() : ctx.stroke();
        break;
      case 10: case 11:
        ctx.ellipse(box.x + box.w / 2, box.y + box.h / 2, box.w / 2, box.h / 2, 0, 0, Math.PI * 2);
        r.kd === 11 ? ctx.fill() : ctx.stroke();
        break;
      }
    });
  }
}

// ------------------------------------------------------------------ player

function formatTime(ms) {
  const seconds = Math.max(0, Math.floor(ms / 1000));
  return `${Math.floor(seconds / 60)}:${String(seconds % 60).padStart(2, '0')}`;
}

class Player {
  constructor(lesson) {
    Object.assign(this, lesson);
    this.layer = new PageLayer(el('objects'), lesson.images);
    this.background = el('background');
    this.shownPage = null;
    this.applied = 0;
    this.shownTime = -1;
    this.pdfPages = new Map();
    this.playing = false;
    this.clockStart = 0;
    this.clockOffset = 0;
  }

  visitAt(t) {
    let visit = this.visits[0];
    for (const v of this.visits) {
      if (v.access <= t)
        visit = v;
    }
    return visit;
  }

  viewAt(t) {
    let view = { scale: 1, h: 0, v: 0 };
    for (const r of this.views) {
      if (r.mp > t)
        break;
      if (r.ag > 0 && r.ag <= 64)
        view = { scale: r.ag, h: r.nw, v: r.nh };
    }
    return view;
  }

  pageSize(visit) {
    if (visit.width > 0)
      return { width: visit.width, height: visit.height };
    return { width: this.boardWidth, height: this.boardHeight };
  }

  async backgroundFor(visit) {
    if (!this.pdf || visit.pdfPage > this.pdf.numPages)
      return null;
    if (!this.pdfPages.has(visit.create)) {
      const promise = (async () => {
        const size = this.pageSize(visit);
        const page = await this.pdf.getPage(visit.pdfPage);
        const base = page.getViewport({ scale: 1 });
        const viewport = page.getViewport({ scale: Math.min(size.width / base.width, size.height / base.height) });
        const canvas = document.createElement('canvas');
        canvas.width = size.width;
        canvas.height = size.height;
        const ctx = canvas.getContext('2d');
        ctx.fillStyle = '#fff';
        ctx.fillRect(0, 0, canvas.width, canvas.height);
        await page.render({ canvasContext: ctx, viewport }).promise;
        return canvas;
      })().catch(() => null);
      this.pdfPages.set(visit.create, promise);
    }
    return this.pdfPages.get(visit.create);
  }

  async showPage(visit) {
    const size = this.pageSize(visit);
    for (const canvas of [this.background, this.layer.canvas]) {
      canvas.width = size.width;
      canvas.height = size.height;
    }
    el('view').style.width = `${size.width}px`;
    el('view').style.height = `${size.height}px`;
    const ctx = this.background.getContext('2d');
    ctx.fillStyle = '#fff';
    ctx.fillRect(0, 0, size.width, size.height);
    el('page').textContent = `Page ${this.pageOrder.indexOf(visit.create) + 1} / ${this.pageOrder.length}`;
    const page = await this.backgroundFor(visit);
    if (page && this.shownPage === visit.create)
      ctx.drawImage(page, 0, 0);
  }

  // The board as it stood at media time t (milliseconds).
  async render(t) {
    // What stood on the board before the recording began is written at its
    // first millisecond: it shows from the start.
    const moment = Math.max(t, 1);
    const visit = this.visitAt(moment);
    let pageReady = null;
    if (this.shownPage !== visit.create || t < this.shownTime) {
      if (this.shownPage !== visit.create) {
        this.shownPage = visit.create;
        pageReady = this.showPage(visit);
      }
      this.layer.reset();
      this.applied = 0;
    }
    const records = this.pageRecords.get(visit.create) || [];
    while (this.applied < records.length && records[this.applied].mp <= moment)
      this.layer.apply(records[this.applied++]);
    this.shownTime = t;

    const view = this.viewAt(moment);
    el('view').style.transform = `translate(${-view.h}px, ${-view.v}px) scale(${view.scale})`;
    el('seek').value = String(Math.round(t));
    el('clock').textContent = `${formatTime(t)} / ${formatTime(this.duration)}`;
    document.body.dataset.time = String(Math.round(t));
    if (pageReady)
      await pageReady;
  }

  // Keeps the board's window shape and fits it into the space left.
  fit() {
    const area = el('board-area');
    const stage = el('stage');
    stage.style.width = `${this.boardWidth}px`;
    stage.style.height = `${this.boardHeight}px`;
    const scale = Math.min(area.clientWidth / this.boardWidth, area.clientHeight / this.boardHeight) || 1;
    stage.style.transform = `scale(${scale})`;
  }

  now() {
    if (this.media)
      return this.media.currentTime * 1000;
    return this.playing ? this.clockOffset + performance.now() - this.clockStart : this.clockOffset;
  }

  seek(ms) {
    const t = Math.max(0, Math.min(ms, this.duration));
    if (this.media) {
      this.media.currentTime = t / 1000;
    } else {
      this.clockOffset = t;
      this.clockStart = performance.now();
    }
    return this.render(t);
  }

  async play() {
    if (this.media) {
      try {
        await this.media.play();
      } catch (e) {
        return false;  // the browser wants a click first
      }
    } else {
      if (this.now() >= this.duration)
        this.clockOffset = 0;
      this.clockStart = performance.now();
      this.playing = true;
    }
    this.setPlaying(true);
    return true;
  }

  pause() {
    if (this.media) {
      this.media.pause();
    } else {
      this.clockOffset = this.now();
      this.playing = false;
    }
    this.setPlaying(false);
  }

  setPlaying(on) {
    const button = el('play');
    button.innerHTML = on ? '&#10074;&#10074;' : '&#9654;';
    button.setAttribute('aria-label', on ? 'Pause' : 'Play');
    document.body.dataset.playing = on ? '1' : '0';
    if (on)
      requestAnimationFrame(() => this.tick());
  }

  tick() {
    const playing = this.media ? !this.media.paused && !this.media.ended : this.playing;
    let t = this.now();
    if (!this.media && t >= this.duration) {
      t = this.duration;
      this.pause();
    }
    this.render(t);
    if (playing)
      requestAnimationFrame(() => this.tick());
    else
      this.setPlaying(false);
  }
}

// ------------------------------------------------------------------ start

function waitForMetadata(media) {
  return new Promise((resolve) => {
    if (media.readyState >= 1)
      return resolve(true);
    media.addEventListener('loadedmetadata', () => resolve(true), { once: true });
    media.addEventListener('error', () => resolve(false), { once: true });
  });
}

async function loadImages(pkg, list) {
  const images = [];
  const names = list.split(/\r?\n/).map((s) => s.trim());
  while (names.length && names[names.length - 1] === '')
    names.pop();
  let missing = 0;
  await Promise.all(names.map((name, i) => new Promise((resolve) => {
    if (!name) {
      images[i] = null;
      return resolve();
    }
    const image = new Image();
    image.onload = () => resolve();
    image.onerror = () => { missing++; resolve(); };
    image.src = pkg.fileUrl(name);
    images[i] = image;
  })));
  return { images, missing };
}

async function openLesson(query) {
  const name = query.get('ist');
  if (name === null || name === '')
    throw new LessonError('No lesson was named. Open a lesson file (.iic) with Dravik to play it.');
  if (!isBareName(name))
    throw new LessonError(`"${name}" is not the name of a lesson in the player folder, so nothing is played.`);
  const pkg = new Package(name);

  const notes = await pkg.xml('Notes.xml');
  if (!notes)
    throw new LessonError(`The lesson "${name}" was not found: it has not been unpacked, or its file is damaged. Open the lesson file with Dravik again.`);
  const { visits, pdfName, pageOrder } = readVisits(notes, name);
  const scriptDoc = await pkg.xml('New_Event.xml');
  if (!scriptDoc)
    throw new LessonError(`The lesson "${name}" is damaged: its drawing script is missing.`);
  const script = readScript(scriptDoc, name);

  const owners = new Map();
  for (const create of pageOrder) {
    if (isBareName(create + '.xml'))
      readOwners(await pkg.xml(create + '.xml').catch(() => null), create, owners);
  }
  // Records whose object is in no page list go by the note index that other
  // records of a known page carry, and else by the page shown at their time.
  const pageOfNote = new Map();
  for (const r of script.records) {
    const owner = owners.get(`${r.slot}:${r.ei}`);
    if (owner !== undefined && !pageOfNote.has(r.ni))
      pageOfNote.set(r.ni, owner);
  }
  const pageRecords = new Map();
  const views = [];
  let end = 0;
  for (const r of script.records) {
    if (r.kd === 15)
      views.push(r);
    if (r.kd === 18)
      end = Math.max(end, r.mp);
    if (!kDrawnCodes.has(r.kd))
      continue;
    end = Math.max(end, r.mp);
    let page = owners.get(`${r.slot}:${r.ei}`);
    if (page === undefined)
      page = pageOfNote.get(r.ni);
    if (page === undefined) {
      let visit = visits[0];
      for (const v of visits) {
        if (v.access <= r.mp)
          visit = v;
      }
      page = visit.create;
    }
    if (!pageRecords.has(page))
      pageRecords.set(page, []);
    pageRecords.get(page).push(r);
  }
  for (const v of visits)
    end = Math.max(end, v.access);

  const strData = await pkg.text('StrData.dat');
  const { images, missing } = await loadImages(pkg, strData || '');
  if (missing > 0)
    addNotice(`${missing} picture(s) of this lesson are missing and are not shown.`);

  let pdf = null;
  if (pdfName) {
    const bytes = await pkg.bytes(pdfName);
    if (bytes) {
      try {
        pdf = await pdfjs.getDocument({ data: bytes, isEvalSupported: false }).promise;
      } catch (e) {
        pdf = null;
      }
    }
  }
  if (!pdf)
    addNotice('The page backgrounds of this lesson cannot be read; the drawings are shown on white pages.');

  let media = null;
  if (await pkg.exists('video.mp4')) {
    media = el('camera');
    media.hidden = false;
    media.src = pkg.fileUrl('video.mp4');
  } else if (await pkg.exists('audio.mp3')) {
    media = el('sound');
    media.src = pkg.fileUrl('audio.mp3');
  } else {
    addNotice('This lesson has no sound or video; it plays silently.');
  }
  if (media && !(await waitForMetadata(media))) {
    addNotice('The sound or video of this lesson cannot be played.');
    media.hidden = true;
    media = null;
  }
  const mediaMs = media && Number.isFinite(media.duration) ? media.duration * 1000 : 0;

  const first = visits[0];
  const boardWidth = script.width > 0 && script.width <= kMaxPageSide ? script.width : (first.width || 1280);
  const boardHeight = script.height > 0 && script.height <= kMaxPageSide ? script.height : (first.height || 800);
  return { name, visits, pageOrder, pageRecords, views, images, pdf, media, boardWidth, boardHeight,
           duration: Math.max(end, mediaMs) };
}

async function main() {
  const query = new URLSearchParams(window.location.search);
  let lesson;
  try {
    lesson = await openLesson(query);
  } catch (e) {
    showMessage(e instanceof LessonError ? e.text : 'The lesson cannot be played: ' + String(e && e.message || e));
    return;
  }
  document.title = `${lesson.name} - Dravik lesson`;
  el('player').hidden = false;
  const player = new Player(lesson);
  player.fit();
  window.addEventListener('resize', () => player.fit());

  const seek = el('seek');
  seek.max = String(Math.ceil(lesson.duration));
  seek.addEventListener('input', () => player.seek(Number(seek.value)));
  el('play').addEventListener('click', () => {
    const playing = lesson.media ? !lesson.media.paused : player.playing;
    if (playing)
      player.pause();
    else
      player.play();
  });
  if (lesson.media) {
    lesson.media.addEventListener('seeked', () => player.render(player.now()));
    lesson.media.addEventListener('ended', () => player.setPlaying(false));
  }

  const start = Number.parseFloat(query.get('t'));
  const startMs = Number.isFinite(start) && start > 0 ? Math.min(start * 1000, lesson.duration) : 0;
  await player.seek(startMs);
  // The lesson plays at once where the browser allows it; otherwise it
  // waits at its first moment for the play button.
  await player.play();
  document.body.dataset.state = 'ready';
}

main();
