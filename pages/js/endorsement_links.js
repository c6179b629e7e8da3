// Links to an endorsement ("CN24000101/E2"): its PDF and its print view, each opening in a
// new tab, so that the screen stays where it was.

export function endorsementAddress(number) {
  const [note, version] = String(number).split('/');
  return `/endorsement/${encodeURIComponent(note)}/${encodeURIComponent(version ?? '')}`;
}

function link(href, text, label) {
  const a = document.createElement('a');
  a.href = href;
  a.target = '_blank';
  a.rel = 'noopener';
  a.textContent = text;
  if (label) a.setAttribute('aria-label', label);
  return a;
}

// `caption` (the PDF) and "print view", in a span for a message or a table cell.
export function endorsementLinks(number, caption) {
  const span = document.createElement('span');
  span.className = 'endorsement-links';
  const address = endorsementAddress(number);
  span.append(link(address, caption, `${caption}: ${number} (PDF)`), ' \u00b7 ',
    link(`${address}/print`, 'print view', `Print view of ${number}`));
  return span;
}
