// The shell page: renders what the server sends and reports what the administrator does.
//
// What goes to the server, one request at a time:
// - clicks on tabs and command buttons;
// - clicks on elements the page handles (and on every check box and radio button, which the
//   server toggles);
// - leaving a text box the page handles ("blur"; the server raises its change and blur);
// - a select's change when the page handles it;
// - keys: in a text box whose page handles keypress, every character key is sent with where
//   the caret and selection are, and typed there by the server (so a handler can rewrite or
//   discard it as the administrator types); Enter and Escape go to elements that handle keys;
// - with each event, the values of text boxes and selects the administrator changed since the
//   last one. The server keeps its own value for a field it changed after the last answer
//   this page applied.
// Text boxes with input filters filter typing and pasting here, with the server's table.

import { enqueue, setCsrf, ServerRefusal } from './api.js';
import { RenderedPage } from './render.js';
import { isLocked } from './accessible.js';
import { TabPages } from './tab_pages.js';
import * as journal from './journal.js';
import { setFilters, filterInsertion } from './filters.js';
import { showMessageBox, showModalDialog } from './dialogs.js';
import { isPending, renderPending, renderShell, renderStatus } from './shell.js';
import './dlg_enquiry.js';
import './dlg_search.js';
import './dlg_table.js';
import './sessions.js';
import './account.js';

const frameBox = document.getElementById('shell-frame');
const workspaceBox = document.getElementById('shell-workspace');
frameBox.dataset.baseClass = 'frame';
workspaceBox.dataset.baseClass = 'workspace';

let seq = 0;
let workspace = null;
const tabPages = new TabPages(frameBox);
// The page file of each tab, from the shell's state.
let tabFiles = new Map();
// Values typed since the last event: page key -> node id -> value.
let typed = new Map();
// The text box a key was sent for and its text then, until the answer comes.
let caretAfterTyping = null;

function shownPages() {
  return [tabPages.shown, workspace].filter(Boolean);
}

function pageOf(element) {
  return shownPages().find((page) => page.container.contains(element)) ?? null;
}

function isTextBox(element) {
  if (element.tagName === 'TEXTAREA') return true;
  return element.tagName === 'INPUT' && ['text', 'password', ''].includes(element.getAttribute('type') || '');
}

function takeValues(skip) {
  const values = {};
  for (const [key, fields] of typed) {
    const entries = [...fields].filter(([node]) => !(skip && skip.key === key && skip.node === node));
    if (entries.length) values[String(key)] = Object.fromEntries(entries.map(([node, value]) => [String(node), value]));
  }
  typed = new Map();
  return values;
}

// A value the server sets replaces on screen whatever was typed before it arrived (keys the
// server types itself, noted while their answers were still on the way); sending the older
// text later would undo the server's change.
function forgetOverwritten(page, ops) {
  const fields = typed.get(page.key);
  if (!fields) return;
  for (const op of ops) {
    if ((op.op === 'prop' || op.op === 'attr') && op.name === 'value') fields.delete(Number(op.id));
  }
}

function noteValue(page, element) {
  if (!typed.has(page.key)) typed.set(page.key, new Map());
  typed.get(page.key).set(page.nodeId(element), element.value);
}

// ---- Answers --------------------------------------------------------------------------

// `byTab`: the answer to a plain tab click (web/session.h describes the answer).
function applyAnswer(answer, byTab = false) {
  seq = answer.seq;
  if (answer.filters) setFilters(answer.filters);
  if (answer.workspace !== undefined) workspace = answer.workspace ? new RenderedPage(workspaceBox, answer.workspace) : null;
  // The last changes of a page left go to it before it is shown again under its new key.
  const patch = ([key, ops]) => {
    const page = workspace && String(workspace.key) === key ? workspace : tabPages.find(Number(key));
    if (!page) return false;
    forgetOverwritten(page, ops);
    page.apply(ops);
    return true;
  };
  const forNewPage = Object.entries(answer.patches || {}).filter((entry) => !patch(entry));
  if (!tabPages.take(answer.frame, byTab)) return load();  // the kept copy went with a reload
  forNewPage.forEach(patch);
  putCaretBack();
  if (answer.shell) {
    tabFiles = new Map(answer.shell.tabs.map((tab) => [tab.id, tab.page]));
    renderShell(answer.shell, { tab: clickTab, command: clickCommand });
  }
  renderStatus(answer.status);
  if (answer.pending !== undefined) renderPending(answer.pending);
  if (answer.note !== undefined) journal.startFrom(answer.note);
  if (answer.focus) {
    const page = shownPages().find((p) => p.key === answer.focus.page);
    const element = page && page.find(answer.focus.node);
    if (element && typeof element.focus === 'function') {
      const moved = element !== document.activeElement;
      // Brought into view with the next frame, which lays the page out anyway.
      if (moved) element.focus({ preventScroll: true });
      if (moved) requestAnimationFrame(() => element.scrollIntoView({ block: 'nearest' }));
      const select = answer.focus.select || (moved && isAmount(page, element));
      if (select && typeof element.select === 'function') element.select();
    }
  }
  if (answer.prompt) return answerPrompt(answer.prompt);
  return undefined;
}

async function answerPrompt(prompt) {
  const result = prompt.type === 'message' ? await showMessageBox(prompt) : await showModalDialog(prompt);
  if (result === 'save' && /dlgReview\.htm$/i.test(String(prompt.url || ''))) reviewConfirmed = true;
  return send('/api/answer', () => ({ seen: seq, prompt: prompt.id, result }));
}

// The journal's entry for a request as it goes: elements named as the page logic names them.
function journalEntry(path, body) {
  if (path === '/api/answer') return { answer: body.result };
  const place = (key, node) => {
    const page = shownPages().find((p) => p.key === key);
    return page ? journal.placeOf(page, page.find(node), page === workspace) : null;
  };
  const entry = {};
  if (body.kind === 'tab' || body.kind === 'command') {
    entry[body.kind] = body.id;
  } else {
    entry.on = place(body.page, body.node);
    if (!entry.on) return null;
    for (const member of ['event', 'key', 'text', 'selection', 'value']) {
      if (body[member] !== undefined) entry[member] = body[member];
    }
  }
  const values = [];
  for (const [key, fields] of Object.entries(body.values || {})) {
    for (const [node, value] of Object.entries(fields)) {
      const at = place(Number(key), Number(node));
      if (!at) return null;
      values.push({ ...at, value });
    }
  }
  if (values.length) entry.values = values;
  return entry;
}

// Sends an event. `byTab`: a plain tab click; `quiet`: leaving a box as it was. Anything else
// may change what the kept pages show.
async function send(path, build, { byTab = false, quiet = false } = {}) {
  if (!byTab && !quiet) tabPages.doubt();
  typing = null;  // keys typed after this event go after it
  let entry;
  try {
    const answer = await enqueue('POST', path, () => {
      const body = build();
      entry = journalEntry(path, body);
      return body;
    });
    journal.note(entry);
    return applyAnswer(answer, byTab);
  } catch (error) {
    // The screen is not held: the action goes into the journal it is rebuilt from.
    if (error instanceof ServerRefusal && error.status === 410) journal.note(entry);
    return refused(error);
  }
}

async function refused(error) {
  caretAfterTyping = null;
  tabPages.abandon();
  if (error instanceof ServerRefusal) {
    if (error.status === 401) {
      // Logged out in another window, or ended otherwise: the login page says so.
      if (error.answer.ended) sessionStorage.setItem('cn-ended', error.message);
      // Several requests may be refused at once; the login page is opened once.
      if (!leaving) window.location.replace('/login.html');
      leaving = true;
      return undefined;
    }
    if (error.status === 409) return load();  // the screen moved on: show it as it is
    if (error.status === 410) return load();  // the server holds no screen of this tab
    renderStatus(error.message);
    return undefined;
  }
  renderStatus('The server cannot be reached. Try again in a moment.');
  return undefined;
}

// The tab's screen as the server holds it; a server that holds none (a new tab, a restart,
// another server) opens it.
async function screenState() {
  const state = await enqueue('GET', '/api/state');
  if (state.held !== false) return state;
  setCsrf(state.csrf);
  const { journal: kept, lost } = journal.forRebuild();
  const rebuilt = await enqueue('POST', '/api/screen', () => ({ journal: kept }));
  if (lost && rebuilt.restored) {
    rebuilt.status = `Reconnected, but your unsaved changes could not be restored (${lost}).`;
    journal.startFrom(kept.note);
  }
  return rebuilt;
}

async function load() {
  try {
    const state = await screenState();
    setCsrf(state.csrf);
    tabPages.forget();  // the server keeps no page for a screen drawn whole
    return applyAnswer(state);
  } catch (error) {
    return refused(error);
  }
}

// ---- Events ---------------------------------------------------------------------------

function clickTab(id) {
  const plain = typed.size === 0;
  if (plain) tabPages.revealEarly(tabFiles.get(id));
  return send('/api/event', () => ({ seen: seq, values: takeValues(), kind: 'tab', id }), { byTab: plain });
}

// Save pressed again while a save runs, or right after one that wrote, is a key held down or
// pressed twice: one amendment is what the administrator meant.
const SAVE_SETTLES_MS = 1000;
let saving = false;
let savedAt = -Infinity;
let reviewConfirmed = false;

function clickCommand(id) {
  const event = () => send('/api/event', () => ({ seen: seq, values: takeValues(), kind: 'command', id }));
  if (id !== 'cmdSave') return event();
  if (saving || performance.now() - savedAt < SAVE_SETTLES_MS) return Promise.resolve();
  saving = true;
  reviewConfirmed = false;
  return event().finally(() => {
    saving = false;
    if (reviewConfirmed) savedAt = performance.now();
  });
}

function elementEvent(page, element, event, extra = {}, quiet = false) {
  const node = page.nodeId(element);
  const skip = event === 'change' ? { key: page.key, node } : null;
  return send('/api/event', () => ({
    seen: seq, values: takeValues(skip), kind: 'element', page: page.key, node, event, ...extra,
  }), { quiet });
}

function onClick(event) {
  const page = pageOf(event.target);
  if (!page) return;
  const target = event.target.closest('[data-nid]');
  if (!target) return;
  if (target.tagName === 'INPUT' && ['checkbox', 'radio'].includes(target.type)) {
    event.preventDefault();  // the server toggles it and sends the state back
    if (!isLocked(target)) elementEvent(page, target, 'click');
    return;
  }
  const reporter = page.reporter(target, 'click');
  if (!reporter) return;
  if (reporter.tagName === 'A') event.preventDefault();
  elementEvent(page, reporter, 'click');
}

// The text of the box with the focus as it came to it: a box left as it was is reported too,
// but changes nothing a kept page shows.
let valueAtFocus = null;

function onFocusIn(event) {
  const page = pageOf(event.target);
  valueAtFocus = isTextBox(event.target) ? event.target.value : null;
  if (page && page.reports(event.target, 'focus')) elementEvent(page, event.target, 'focus');
}

function onFocusOut(event) {
  const page = pageOf(event.target);
  if (!page || !isTextBox(event.target)) return;
  if (page.reports(event.target, 'blur') || page.reports(event.target, 'change')) {
    noteValue(page, event.target);
    elementEvent(page, event.target, 'blur', {}, event.target.value === valueAtFocus);
  }
}

function onInput(event) {
  const page = pageOf(event.target);
  if (page && (isTextBox(event.target) || event.target.tagName === 'SELECT')) noteValue(page, event.target);
}

function onChange(event) {
  const page = pageOf(event.target);
  if (!page || event.target.tagName !== 'SELECT') return;
  if (page.reports(event.target, 'change')) {
    elementEvent(page, event.target, 'change', { value: event.target.value });
  } else {
    noteValue(page, event.target);
  }
}

// An amount is typed over more often than edited: a click in one selects it whole, as Tab does.
const AMOUNT_FILTERS = ['EntryCur.htc', 'EntryCurSI.htc', 'EntryNumber.htc'];
function isAmount(page, element) {
  return isTextBox(element) && (element.matches('.clsFigure, .clsAmount, .clsPercent') ||
    page.filtersOf(element).some((name) => AMOUNT_FILTERS.includes(name)));
}

function onMouseDown(event) {
  if (keepLocked(event)) return;
  const page = pageOf(event.target);
  const box = event.target;
  if (!page || event.button !== 0 || document.activeElement === box || !isAmount(page, box)) return;
  event.preventDefault();
  box.focus();
  box.select();
}

// A locked list or option is read, not changed: Tab leaves it, and the shortcuts work from it.
function keepLocked(event) {
  const element = event.target;
  if (!isLocked(element) || isTextBox(element) || event.key === 'Tab') return false;
  const shortcut = event.altKey || event.ctrlKey || event.metaKey;
  if (shortcut && !String(event.key).startsWith('Arrow')) return false;
  if (event.type === 'mousedown') element.focus();
  event.preventDefault();
  return true;
}

function onKeyDown(event) {
  const page = pageOf(event.target);
  if (page && keepLocked(event)) return;
  if (!page || event.ctrlKey || event.metaKey || event.altKey || event.isComposing) return;
  const element = event.target;
  const handlesKeys = page.reports(element, 'keypress') || page.reports(element, 'keydown');
  if ((event.key === 'Enter' || event.key === 'Escape') && handlesKeys) {
    event.preventDefault();
    if (isTextBox(element)) noteValue(page, element);
    elementEvent(page, element, 'keydown', { key: event.key === 'Enter' ? 13 : 27 });
    return;
  }
  if (event.key.length > 0 && [...event.key].length === 1 && isTextBox(element) && page.reports(element, 'keypress')) {
    event.preventDefault();  // the server types it, as the page's handler allows
    if (element.readOnly) return;
    typeKey(page, element, event.key.codePointAt(0));
  }
}

// Characters (not UTF-16 units) before the position: the server counts characters.
function characters(text, end) {
  return [...text.slice(0, end)].length;
}

// A key the server types goes where the caret is, over the selection; the caret is put back
// after it when the answer has replaced the text. Where is read when the request's turn comes,
// after the answers to the keys typed before it. Keys typed in the same box while the request
// waits for its turn go with it, in the order typed: a fast typist waits for one answer, not
// for one per key.
let typing = null;  // the keys of the box not sent yet

function typeKey(page, element, key) {
  if (typing && typing.element === element && typing.page === page) {
    typing.text += String.fromCodePoint(key);
    return typing.sent;
  }
  const batch = { page, element, text: String.fromCodePoint(key) };
  const node = page.nodeId(element);
  batch.sent = send('/api/event', () => {
    if (typing === batch) typing = null;
    const { value, selectionStart: start, selectionEnd: end } = element;
    caretAfterTyping = { element, value, head: value.slice(0, start), tail: value.slice(end) };
    return {
      seen: seq, values: takeValues(), kind: 'element', page: page.key, node, event: 'keypress', key,
      text: batch.text, selection: [characters(value, start), characters(value, end)],
    };
  });
  typing = batch;
  return batch.sent;
}

function putCaretBack() {
  const typing = caretAfterTyping;
  caretAfterTyping = null;
  if (!typing || document.activeElement !== typing.element) return;
  const { value } = typing.element;
  if (value === typing.value || !value.startsWith(typing.head) || !value.endsWith(typing.tail)) return;
  const at = value.length - typing.tail.length;
  if (at >= typing.head.length) typing.element.setSelectionRange(at, at);
}

function onBeforeInput(event) {
  const page = pageOf(event.target);
  if (!page || !isTextBox(event.target)) return;
  if (event.inputType !== 'insertText' && event.inputType !== 'insertFromPaste') return;
  const data = event.data ?? (event.dataTransfer ? event.dataTransfer.getData('text/plain') : '');
  const replacement = filterInsertion(page.filtersOf(event.target), event.target, data);
  if (replacement === null) return;
  event.preventDefault();
  const box = event.target;
  box.setRangeText(replacement, box.selectionStart ?? box.value.length, box.selectionEnd ?? box.value.length, 'end');
  box.dispatchEvent(new Event('input', { bubbles: true }));
}

for (const box of [frameBox, workspaceBox]) {
  box.addEventListener('click', onClick);
  box.addEventListener('focusin', onFocusIn);
  box.addEventListener('focusout', onFocusOut);
  box.addEventListener('input', onInput);
  box.addEventListener('change', onChange);
  box.addEventListener('keydown', onKeyDown);
  box.addEventListener('mousedown', onMouseDown);
  box.addEventListener('beforeinput', onBeforeInput);
}

// Changes not saved: those the server knows of, and keys typed that it has not yet answered.
function changesPending() {
  return isPending() || typing !== null;
}

const DISCARD_ON_LOGOUT = {
  type: 'message', style: 1 + 48, title: 'Log out',
  text: 'The cover note has changes that are not saved. Log out and discard them?',
};

document.getElementById('shell-logout').addEventListener('click', async () => {
  if (changesPending() && await showMessageBox(DISCARD_ON_LOGOUT) !== 1) return;
  leaving = true;
  try {
    await enqueue('POST', '/api/logout', () => ({}));
  } finally {
    window.location.replace('/login.html');
  }
});

// Closing or reloading the tab with changes not saved: the browser's own question.
let leaving = false;
window.addEventListener('beforeunload', (event) => {
  if (leaving || !changesPending()) return;
  event.preventDefault();
  event.returnValue = '';
});

load();
