// Prompts of the page logic: message boxes (buttons and icon from the number the page gives)
// and modal dialog pages. Both are modal: the screen behind cannot be used until answered.

import { enqueue } from './api.js';
import { endorsementLinks } from './endorsement_links.js';

const OK = 1;
const CANCEL = 2;
const YES = 6;
const NO = 7;

// Buttons by the number's low part: [caption, answer]; the first is the default.
const BUTTONS = {
  0: [['OK', OK]],
  1: [['OK', OK], ['Cancel', CANCEL]],
  4: [['Yes', YES], ['No', NO]],
};
// Escape answers Cancel where there is one and OK when OK is all there is; a Yes/No question
// has to be answered.
const ESCAPE = { 0: OK, 1: CANCEL, 4: null };
const ICONS = {
  16: { symbol: '\u2716', label: 'Error', kind: 'critical' },
  32: { symbol: '?', label: 'Question', kind: 'question' },
  48: { symbol: '!', label: 'Warning', kind: 'exclamation' },
  64: { symbol: 'i', label: 'Information', kind: 'information' },
};
const DEFAULT_TITLE = 'Cover Note Amendment';

// Shows a message box and resolves with the answer (1, 2, 6 or 7).
export function showMessageBox(prompt) {
  const dialog = document.getElementById('message-box');
  const style = Number(prompt.style) || 0;
  const buttonsKey = BUTTONS[style % 16] ? style % 16 : 0;
  const icon = ICONS[style - (style % 16)];
  document.getElementById('message-title').textContent = prompt.title || DEFAULT_TITLE;
  document.getElementById('message-text').textContent = prompt.text;
  const iconBox = document.getElementById('message-icon');
  iconBox.textContent = icon ? icon.symbol : '';
  iconBox.className = `message-icon ${icon ? icon.kind : 'none'}`;
  iconBox.hidden = !icon;
  // A document the message offers (the saved message: the endorsement the save made).
  const offer = document.getElementById('message-offer');
  const endorsement = prompt.offer?.endorsement;
  offer.replaceChildren(...(endorsement ? [endorsementLinks(endorsement, 'Open the endorsement')] : []));
  offer.hidden = !endorsement;
  const row = document.getElementById('message-buttons');
  row.replaceChildren();
  return new Promise((resolve) => {
    const finish = (answer) => {
      dialog.removeEventListener('cancel', onCancel);
      dialog.close();
      resolve(answer);
    };
    const onCancel = (event) => {
      event.preventDefault();
      const answer = ESCAPE[buttonsKey];
      if (answer !== null) finish(answer);
    };
    for (const [caption, answer] of BUTTONS[buttonsKey]) {
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = caption;
      button.addEventListener('click', () => finish(answer), { once: true });
      row.append(button);
    }
    dialog.addEventListener('cancel', onCancel);
    dialog.showModal();
    row.firstElementChild.focus();  // Enter takes the default button
  });
}

// Dialog pages by file name. Each is markup served beside the shell page (its body is shown
// in the dialog) and a function ({body, prompt, close, search}) that binds it and returns the
// dialog's title; close(result) ends the dialog ('' when closed without a choice) and
// search(query) asks the server for the open dialog's results.
const dialogPages = new Map();
const markups = new Map();

export function registerDialog(file, open) {
  dialogPages.set(file.toLowerCase(), { file, open });
}

function dialogSize(features) {
  const size = {};
  for (const part of String(features || '').split(';')) {
    const [name, value] = part.split(/[:=]/).map((s) => (s || '').trim().toLowerCase());
    if ((name === 'dialogwidth' || name === 'dialogheight') && /^\d+px$/.test(value)) size[name] = value;
  }
  return size;
}

async function markupOf(file) {
  if (!markups.has(file)) {
    const response = await fetch(`/${file}`, { credentials: 'same-origin' });
    if (!response.ok) throw new Error(`The dialog ${file} could not be loaded.`);
    const parsed = new DOMParser().parseFromString(await response.text(), 'text/html');
    markups.set(file, parsed.body);
  }
  return markups.get(file);
}

function searchOf(prompt) {
  return (query) => enqueue('POST', '/api/dialog', () => ({ prompt: prompt.id, query }));
}

function unavailable(body, file, close) {
  const text = document.createElement('p');
  text.textContent = `The dialog ${file} is not available.`;
  const button = document.createElement('button');
  button.type = 'button';
  button.textContent = 'Close';
  button.addEventListener('click', () => close(''));
  body.append(text, button);
  return 'Not available';
}

// Shows a dialog page modally and resolves with its result.
export async function showModalDialog(prompt) {
  const dialog = document.getElementById('modal-dialog');
  const body = document.getElementById('modal-body');
  const file = String(prompt.url || '').split(/[\\/]/).pop();
  const size = dialogSize(prompt.features);
  dialog.style.width = size.dialogwidth || '';
  dialog.style.minHeight = size.dialogheight || '';
  body.replaceChildren();
  const page = dialogPages.get(file.toLowerCase());
  let markup = null;
  if (page) {
    try {
      markup = await markupOf(page.file);
    } catch {
      markup = null;
    }
  }
  return new Promise((resolve) => {
    let done = false;
    const close = (result) => {
      if (done) return;
      done = true;
      dialog.removeEventListener('cancel', onCancel);
      dialog.close();
      body.replaceChildren();
      resolve(typeof result === 'string' ? result : '');
    };
    const onCancel = (event) => {
      event.preventDefault();
      close('');
    };
    dialog.addEventListener('cancel', onCancel);
    let title;
    if (page && markup) {
      body.append(...[...markup.children].map((node) => document.importNode(node, true)));
      title = page.open({ body, prompt, close, search: searchOf(prompt) });
    } else {
      title = unavailable(body, file, close);
    }
    document.getElementById('modal-title').textContent = title;
    dialog.showModal();
    // The box the page marks to start in (autofocus), else the first thing that takes the focus.
    const usable = (element) => !element.disabled && element.offsetParent !== null;
    const start = [...body.querySelectorAll('[autofocus]')].find(usable) ??
      [...body.querySelectorAll('input, select, button, textarea, [tabindex]')].find(usable);
    if (start) start.focus();
  });
}
