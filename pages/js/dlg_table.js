// The dialogs that show a table to read, not to choose from: the review before a save (Save
// returns "save", Cancel or Escape nothing) and the amendment history (Close).

import { registerDialog } from './dialogs.js';
import { endorsementLinks } from './endorsement_links.js';

// Figures are read down their column, so cells that hold an amount, a rate or a count are
// aligned right (a longer run of digits is a number to read, a telephone's or a licence's).
const amount = /^[+-]?\d{1,3}(,\d{3})*\.\d{2}$/;
const figure = /^[+-]?(\d{1,3}(,\d{3})*|\d{1,5})(\.\d+)?$/;

// The history's column whose cells name an endorsement: they open it.
const ENDORSEMENT_COLUMN = 'Endorsement';

function fillTable(table, content, grouped) {
  const linked = (content.columns || []).indexOf(ENDORSEMENT_COLUMN);
  const headRow = table.tHead.insertRow();
  for (const column of content.columns || []) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = column;
    headRow.append(cell);
  }
  const body = table.tBodies[0];
  for (const row of content.rows || []) {
    const tr = body.insertRow();
    // A row that opens an amendment carries its date; it starts a new group.
    if (grouped && row.cells[0]) tr.className = 'group-start';
    row.cells.forEach((text, index) => {
      const td = tr.insertCell();
      if (index === linked && text) {
        td.append(endorsementLinks(text, text));
        return;
      }
      td.textContent = text;
      if (figure.test(text)) td.className = 'figure';
      if (text.startsWith('+')) td.classList.add('raised');
      else if (text.startsWith('-') && amount.test(text)) td.classList.add('lowered');
    });
  }
}

registerDialog('dlgReview.htm', ({ body, prompt, close }) => {
  const content = prompt.content || {};
  body.querySelector('#lblReviewNotice').textContent = content.notice || '';
  const table = body.querySelector('#tblReview');
  fillTable(table, content, false);
  const save = body.querySelector('#cmdReviewSave');
  const cancel = body.querySelector('#cmdReviewCancel');
  save.addEventListener('click', () => close('save'));
  cancel.addEventListener('click', () => close(''));
  if (!(content.rows || []).length) {
    // Nothing differs, so nothing is saved: the review only says so and closes.
    table.closest('.dialog-list').hidden = true;
    save.remove();
    cancel.textContent = 'Close';
    cancel.classList.add('default');
    cancel.autofocus = true;
  }
  return content.title || 'Review the amendment';
});

registerDialog('dlgHistory.htm', ({ body, prompt, close }) => {
  const content = prompt.content || {};
  body.querySelector('#lblHistoryNotice').textContent = content.notice || '';
  fillTable(body.querySelector('#tblHistory'), content, true);
  body.querySelector('#cmdHistoryClose').addEventListener('click', () => close(''));
  return content.title || 'Amendment history';
});
