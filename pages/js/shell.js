// The shell's own parts: title, tab strip (hidden tabs absent), command buttons and status.
// Buttons are kept and updated in place from one answer to the next, so that the one with the
// keyboard focus keeps it.
//
// The tab strip works as tabs do: Tab reaches the tab shown, the arrow keys, Home and End move
// between the tabs, and Enter or Space opens the one with the focus; Alt and the tab's number
// opens it from anywhere. Each command button has an access key (Alt and the letter). Both are
// shown in the tooltips.

const tabs = document.getElementById('shell-tabs');
const commands = document.getElementById('shell-commands');
const frame = document.getElementById('shell-frame');
let handlers = { tab() {}, command() {} };

function button(id, className, onClick) {
  const element = document.createElement('button');
  element.type = 'button';
  element.className = className;
  element.dataset.id = id;
  element.addEventListener('click', () => onClick(id));
  return element;
}

// Puts the container's buttons in the order of `items`, reusing those it has by id.
function syncButtons(container, items, make) {
  const kept = new Map([...container.children].map((element) => [element.dataset.id, element]));
  const wanted = items.map((item) => kept.get(item.id) ?? make(item));
  wanted.forEach((element, index) => {
    if (container.children[index] !== element) container.insertBefore(element, container.children[index] ?? null);
  });
  for (const extra of [...container.children].slice(wanted.length)) extra.remove();
  return wanted;
}

// One letter of each caption, the first not taken by a button before it.
function accessKeys(buttons) {
  const taken = new Set();
  return buttons.map((command) => {
    const letter = [...command.caption.toUpperCase()].find((c) => c >= 'A' && c <= 'Z' && !taken.has(c)) ?? '';
    if (letter) taken.add(letter);
    return letter;
  });
}

export function renderShell(shell, current) {
  handlers = current;
  document.getElementById('shell-title').textContent = shell.title || 'Cover Note Amendment';
  document.title = shell.title || 'Cover Note Amendment';
  // The title names the cover note shown; without one the boxes hold only the pages' defaults
  // (today's dates, the first of each list), which the screen does not show as if read.
  document.body.classList.toggle('no-note', !/ : \S/.test(shell.title || ''));

  const tabButtons = syncButtons(tabs, shell.tabs, (tab) => {
    const element = button(tab.id, 'tab', (id) => handlers.tab(id));
    element.id = `shell-tab-${tab.id}`;
    element.setAttribute('role', 'tab');
    element.setAttribute('aria-controls', frame.id);
    return element;
  });
  shell.tabs.forEach((tab, index) => {
    const element = tabButtons[index];
    const shown = tab.id === shell.shownTab;
    element.textContent = tab.caption;
    element.accessKey = String(index + 1);
    element.title = `${tab.caption} (Alt+${index + 1})`;
    element.setAttribute('aria-keyshortcuts', `Alt+${index + 1}`);
    element.setAttribute('aria-selected', String(shown));
    element.tabIndex = shown ? 0 : -1;
    if (shown) frame.setAttribute('aria-labelledby', element.id);
  });
  if (!shell.tabs.some((tab) => tab.id === shell.shownTab)) frame.removeAttribute('aria-labelledby');

  const commandButtons = syncButtons(commands, shell.buttons, (command) =>
    button(command.id, 'command', (id) => handlers.command(id)));
  const keys = accessKeys(shell.buttons);
  shell.buttons.forEach((command, index) => {
    const element = commandButtons[index];
    element.textContent = command.caption;
    element.disabled = !command.enabled;
    element.hidden = !command.shown;
    element.accessKey = keys[index];
    element.title = keys[index] ? `${command.caption} (${element.accessKeyLabel || `Alt+${keys[index]}`})` : '';
    if (keys[index]) element.setAttribute('aria-keyshortcuts', `Alt+${keys[index]}`);
    else element.removeAttribute('aria-keyshortcuts');
  });
}

tabs.addEventListener('keydown', (event) => {
  const all = [...tabs.querySelectorAll('[role=tab]')];
  const at = all.indexOf(document.activeElement);
  if (at < 0 || event.altKey || event.ctrlKey || event.metaKey) return;
  const next = { ArrowRight: at + 1, ArrowLeft: at - 1, Home: 0, End: all.length - 1 }[event.key];
  if (next === undefined) return;
  event.preventDefault();
  all[(next + all.length) % all.length].focus();
});

// Alt and a tab's number or a command's letter, wherever the focus is and whatever the keyboard
// layout, as long as no dialog is open: the button takes the focus (so that a box being left
// is reported first, as with the mouse) and is pressed.
document.addEventListener('keydown', (event) => {
  if (!event.altKey || event.ctrlKey || event.metaKey || event.repeat) return;
  const key = /^(?:Key|Digit)([A-Z0-9])$/.exec(event.code)?.[1];
  if (!key || document.querySelector('dialog[open]')) return;
  const target = [...tabs.children, ...commands.children]
    .find((element) => element.accessKey.toUpperCase() === key && !element.disabled && !element.hidden);
  if (!target) return;
  event.preventDefault();
  target.focus();
  target.click();
});

export function renderStatus(text) {
  document.getElementById('shell-status').textContent = text || '';
}

// The note read has changes a Save would write: said beside the status, and asked about
// before they are lost with the page.
let pending = false;

export function renderPending(on) {
  pending = Boolean(on);
  document.getElementById('shell-pending').hidden = !pending;
}

export function isPending() {
  return pending;
}
