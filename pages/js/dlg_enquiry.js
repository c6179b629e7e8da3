// The enquiry dialog: find a cover note (by number, vehicle or client) or a client (by name
// or identity number), or choose from the client list it was given. Choosing returns the
// cover note number or the client code; closing returns nothing.

import { registerDialog } from './dialogs.js';
import { DialogList } from './dialog_list.js';

registerDialog('dlgEnq.htm', ({ body, prompt, close, search }) => {
  const content = prompt.content || {};
  const form = body.querySelector('#frmEnqSearch');
  const text = body.querySelector('#txtEnqText');
  const notice = body.querySelector('#lblEnqNotice');
  const searchButton = body.querySelector('#cmdEnqSearch');
  const list = new DialogList(body.querySelector('#tblEnqList'), body.querySelector('#cmdEnqOK'), close);
  list.show(content);
  notice.textContent = content.notice || '';

  const byBox = body.querySelector('#fldEnqBy');
  (content.searches || []).forEach((option, index) => {
    const label = document.createElement('label');
    const radio = document.createElement('input');
    radio.type = 'radio';
    radio.name = 'enqBy';
    radio.value = option.by;
    radio.checked = index === 0;
    label.append(radio, ` ${option.label}`);
    byBox.append(label);
  });
  // A list given by the page is what there is to choose from: no search then.
  form.hidden = Boolean(content.listed) || !(content.searches || []).length;

  let pending = 0;
  let shownQuery = null;  // the query whose results are listed
  form.addEventListener('submit', async (event) => {
    event.preventDefault();
    const by = form.querySelector('input[name="enqBy"]:checked');
    if (!by) return;
    const query = `${by.value}\u0000${text.value.trim()}`;
    // Enter again on the same search takes the highlighted result.
    if (query === shownQuery && list.current >= 0) {
      list.chooseCurrent();
      return;
    }
    shownQuery = null;
    const mine = ++pending;
    searchButton.disabled = true;
    notice.textContent = 'Searching\u2026';
    try {
      const found = await search({ by: by.value, text: text.value });
      if (mine !== pending) return;
      list.show(found);
      shownQuery = query;
      notice.textContent = found.notice || `${found.rows.length} found.`;
    } catch (error) {
      if (mine === pending) notice.textContent = error.message || 'The search failed.';
    } finally {
      if (mine === pending) searchButton.disabled = false;
    }
  });
  // Enter searches for what was typed, and on the same text takes the highlighted result; the
  // arrows move through the results.
  text.addEventListener('keydown', (event) => {
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') list.key(event);
  });
  body.querySelector('#tblEnqList').addEventListener('keydown', (event) => list.key(event));
  body.querySelector('#cmdEnqCancel').addEventListener('click', () => close(''));
  return content.title || 'Enquiry';
});
