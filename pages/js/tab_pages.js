// The tab pages in the frame: the one shown, and those the browser keeps since it left them,
// one per page file. The server sends a page once; shown again, it comes as the changes since
// the copy kept (server: web/page_diff.h), so the browser parses nothing and keeps its nodes.
//
// Going from tab to tab changes no cover note, so a page left by a tab click, with nothing
// but tab clicks since, is what the server will show again: a tab click shows it at once,
// inert until the server's answer has brought it up to date. Anything else sent (a value, a
// click in a page, a command, an answer to a message) may change what a page shows, and the
// kept pages then wait for the answer.
import { RenderedPage } from './render.js';

export class TabPages {
  constructor(box) {
    this.box = box;
    this.shown = null;
    this.kept = new Map();  // page file -> { page, current }
    this.early = null;  // { page, was }: shown on a tab click before its answer
  }

  // The pages the answer's patches may be for: the one shown and those kept.
  find(key) {
    if (this.shown && this.shown.key === key) return this.shown;
    for (const { page } of this.kept.values()) if (page.key === key) return page;
    return null;
  }

  doubt() {
    for (const kept of this.kept.values()) kept.current = false;
  }

  // On a tab click: the page of that file, when it is still current.
  revealEarly(file) {
    const kept = this.kept.get(file);
    if (!kept || !kept.current || this.early) return;
    this.early = { page: kept.page, was: this.shown };
    kept.page.container.inert = true;
    this.put(kept.page, true);
  }

  // The answer's frame: undefined (unchanged), null (no page) or a page, sent whole or as the
  // kept copy of its file brought up to date. `byTab`: the answer is to a plain tab click, so
  // the page left stays current. False when the kept copy is no longer here.
  take(frame, byTab) {
    // An answer to what was sent before the tab click leaves the page shown early alone, unless
    // it shows another page itself.
    if (this.early && !byTab && frame === undefined) return true;
    const early = this.early;
    this.early = null;
    if (early) early.page.container.inert = false;
    if (frame === undefined) {
      if (early) this.put(early.was, true);
      return true;
    }
    if (frame === null) {
      this.put(null, byTab);
      return true;
    }
    let page;
    if (frame.kept) {
      page = this.kept.get(frame.file)?.page ?? (this.shown && this.shown.file === frame.file ? this.shown : null);
      if (!page) return false;
      page.rekey(frame);
    } else {
      const container = document.createElement('div');
      container.dataset.baseClass = 'tab-page';
      page = new RenderedPage(container, frame);
    }
    page.file = frame.file;
    this.put(page, byTab);
    return true;
  }

  forget() {
    this.kept.clear();
  }

  // Reverts a page shown early whose answer never came.
  abandon() {
    if (this.early) this.take(undefined, true);
  }

  // Puts `page` in the frame; the one shown goes to the kept pages.
  put(page, leftCurrent) {
    if (this.shown === page) return;
    if (this.shown && this.shown.file) this.kept.set(this.shown.file, { page: this.shown, current: leftCurrent });
    if (page) this.kept.delete(page.file);
    this.box.replaceChildren(...(page ? [page.container] : []));
    this.shown = page;
  }
}
