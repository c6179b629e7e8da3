// The print view of a document: its Print button prints the page (the bar itself does not
// print).

document.getElementById('print')?.addEventListener('click', () => window.print());
