// The selection dialog: the list the page wrote for it, narrowed as the administrator types;
// choosing returns "True;code;description", closing returns nothing.

import { registerDialog } from './dialogs.js';
import { DialogList } from './dialog_list.js';

registerDialog('dlgSrch.htm', ({ body, prompt, close }) => {
  const content = prompt.content || {};
  const filter = body.querySelector('#txtSrchFilter');
  const notice = body.querySelector('#lblSrchNotice');
  const list = new DialogList(body.querySelector('#tblSrchList'), body.querySelector('#cmdSrchOK'), close);
  list.show(content);
  notice.textContent = content.notice || '';
  filter.addEventListener('input', () => {
    const count = list.filter(filter.value);
    notice.textContent = count || !filter.value ? content.notice || '' : 'Nothing matches the filter.';
  });
  filter.addEventListener('keydown', (event) => list.key(event));
  body.querySelector('#cmdSrchCancel').addEventListener('click', () => close(''));
  return content.title || 'Select';
});
