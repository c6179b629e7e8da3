// What the pages need to be read and reached by every administrator, done as the browser
// draws them.
//
// Locked controls stay in reach. The page logic disables a control it locks, which would take
// it out of the Tab order and leave a screen reader announcing it dimmed: here a locked
// control is drawn read-only instead (a box that takes no typing, a list or an option that
// does not change), which Tab reaches and a screen reader announces as read-only. The server
// refuses any change to it, as to a disabled one. A command button stays disabled.
//
// Row tables are drawn as two tables (the header apart from the rows): each control of a row
// is named by its column's header and its row.

const CONTROLS = 'input, select, textarea';
const LOCKED = 'data-locked';
const READ_ONLY = 'data-readonly';  // read-only as the server has it, locked or not

function isControl(element) {
  return element.matches(CONTROLS) && element.type !== 'hidden';
}

function isTextBox(element) {
  return element.tagName === 'TEXTAREA' || (element.tagName === 'INPUT' && !['radio', 'checkbox'].includes(element.type));
}

export function isLocked(element) {
  return element.hasAttribute(LOCKED);
}

// A radio group is read-only when each of its options is.
function markGroup(element) {
  const group = element.type === 'radio' ? element.closest('[role=radiogroup]') : null;
  if (!group) return;
  const radios = [...group.querySelectorAll('input[type=radio]')];
  if (radios.every(isLocked)) group.setAttribute('aria-readonly', 'true');
  else group.removeAttribute('aria-readonly');
}

function draw(element) {
  const locked = isLocked(element);
  if (isTextBox(element)) {
    element.readOnly = locked || element.hasAttribute(READ_ONLY);
  } else if (element.type !== 'radio') {
    if (locked) element.setAttribute('aria-readonly', 'true');
    else element.removeAttribute('aria-readonly');
  }
  markGroup(element);
}

// The server's "disabled" of an element; false when it is not a control the lock applies to.
export function setDisabled(element, disabled) {
  if (!isControl(element)) return false;
  element.disabled = false;
  element.toggleAttribute(LOCKED, disabled);
  draw(element);
  return true;
}

export function setReadOnly(element, readOnly) {
  if (!isControl(element)) return false;
  element.toggleAttribute(READ_ONLY, readOnly);
  draw(element);
  return true;
}

// A control's place in the Tab order: a positive index (the page logic gives one to the fields
// it unlocks) would send Tab to those fields first, so it counts as 0; a control left out
// (-1, as a lock leaves it) is put back, so that locked fields can be read; anything else
// keeps its -1.
export function tabIndexOf(element, value) {
  const index = Number(value);
  if (!Number.isFinite(index)) return 0;
  return index > 0 || (index < 0 && isControl(element)) ? 0 : index;
}

// New markup: its locks drawn, its tab indexes read, its row tables named.
export function prepare(content) {
  for (const element of content.querySelectorAll('[tabindex]')) {
    element.tabIndex = tabIndexOf(element, element.getAttribute('tabindex'));
  }
  for (const element of content.querySelectorAll(`:is(${CONTROLS})[readonly]`)) element.setAttribute(READ_ONLY, '');
  for (const element of content.querySelectorAll(`:is(${CONTROLS})[disabled]`)) setDisabled(element, true);
}

function headerTexts(body) {
  const header = body.previousElementSibling?.querySelector('table');
  if (!header) return [];
  header.setAttribute('role', 'presentation');
  return [...header.querySelectorAll('td, th')].map((cell) => cell.textContent.trim()).filter(Boolean);
}

export function nameRowTables(container) {
  for (const body of container.querySelectorAll('.clsRowTable')) {
    const columns = headerTexts(body);
    const table = body.querySelector('table');
    if (!table) continue;
    table.setAttribute('role', 'presentation');
    [...table.rows].forEach((row, index) => {
      [...row.cells].forEach((cell, column) => {
        const control = cell.querySelector(CONTROLS);
        if (control && columns[column]) control.setAttribute('aria-label', `${columns[column]}, row ${index + 1}`);
      });
    });
  }
}
