// The list of a dialog page: a table of rows, one highlighted; a click highlights a row, a
// double click or Enter chooses it, the arrow keys move the highlight, and a filter text
// shows only the rows that contain it (in any column, ignoring case).

const kShortCell = 16;

export class DialogList {
  constructor(table, okButton, choose) {
    this.table = table;
    this.okButton = okButton;
    this.choose = choose;
    this.rows = [];
    this.shown = [];
    this.current = -1;
    table.tBodies[0].addEventListener('click', (event) => this.highlightRowOf(event.target));
    table.tBodies[0].addEventListener('dblclick', (event) => {
      if (this.highlightRowOf(event.target)) this.chooseCurrent();
    });
    okButton.addEventListener('click', () => this.chooseCurrent());
  }

  // list: {columns, rows: [{cells, value}]}
  show(list) {
    const head = this.table.tHead;
    head.replaceChildren();
    const headRow = head.insertRow();
    for (const column of list.columns || []) {
      const cell = document.createElement('th');
      cell.scope = 'col';
      cell.textContent = column;
      headRow.append(cell);
    }
    this.rows = (list.rows || []).map((row) => {
      const tr = document.createElement('tr');
      tr.setAttribute('aria-selected', 'false');
      for (const text of row.cells) {
        const td = tr.insertCell();
        td.textContent = text;
        if (text.length <= kShortCell) td.className = 'short';  // a number, a date: one line
      }
      return { tr, value: row.value, search: row.cells.join('\u0000').toLowerCase() };
    });
    this.filter('');
  }

  filter(text) {
    const wanted = text.trim().toLowerCase();
    this.shown = this.rows.filter((row) => !wanted || row.search.includes(wanted));
    this.table.tBodies[0].replaceChildren(...this.shown.map((row) => row.tr));
    this.highlight(this.shown.length ? 0 : -1);
    return this.shown.length;
  }

  highlight(index) {
    if (this.current >= 0 && this.shown[this.current]) this.shown[this.current].tr.setAttribute('aria-selected', 'false');
    this.current = index;
    const row = this.shown[index];
    if (row) {
      row.tr.setAttribute('aria-selected', 'true');
      row.tr.scrollIntoView({ block: 'nearest' });
    }
    this.okButton.disabled = !row;
  }

  highlightRowOf(target) {
    const tr = target.closest('tr');
    const index = this.shown.findIndex((row) => row.tr === tr);
    if (index >= 0) this.highlight(index);
    return index >= 0;
  }

  // Arrow keys and Enter from the dialog's text box; true when the key was used.
  key(event) {
    if (event.key === 'ArrowDown' && this.current + 1 < this.shown.length) this.highlight(this.current + 1);
    else if (event.key === 'ArrowUp' && this.current > 0) this.highlight(this.current - 1);
    else if (event.key === 'Enter' && this.current >= 0) this.chooseCurrent();
    else return false;
    event.preventDefault();
    return true;
  }

  chooseCurrent() {
    const row = this.shown[this.current];
    if (row) this.choose(row.value);
  }
}
