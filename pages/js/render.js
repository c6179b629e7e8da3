// The pages as the server renders them: markup with node ids, put into a container and kept in
// step by patches (removes, then new markup, then updates; see the server's patch builder).
// Nothing the server sends is ever run: event handler attributes and scripts are dropped, and
// frames become plain boxes.

import { nameRowTables, prepare, setDisabled, setReadOnly, tabIndexOf } from './accessible.js';

const NODE_ID = 'data-nid';

// Parses markup for a parent element, dropping whatever could run or load.
function parse(html) {
  const template = document.createElement('template');
  template.innerHTML = html;
  const content = template.content;
  for (const script of content.querySelectorAll('script')) script.remove();
  for (const frame of content.querySelectorAll('iframe, frame, object, embed')) {
    const box = document.createElement('div');
    for (const attribute of frame.attributes) {
      if (attribute.name === NODE_ID || attribute.name === 'id' || attribute.name === 'class') {
        box.setAttribute(attribute.name, attribute.value);
      }
    }
    frame.replaceWith(box);
  }
  prepare(content);
  for (const element of content.querySelectorAll('*')) {
    for (const attribute of [...element.attributes]) {
      const name = attribute.name.toLowerCase();
      if (name.startsWith('on') || ((name === 'href' || name === 'src') && /^\s*javascript:/i.test(attribute.value))) {
        element.removeAttribute(attribute.name);
      }
    }
  }
  return content;
}

// A list with nothing chosen shows nothing: the browser would show its first option as if it were
// the record's (a company shown as MALE).
function showUnchosenLists(nodes) {
  for (const node of nodes) {
    if (node.nodeType !== Node.ELEMENT_NODE) continue;
    const lists = node.matches('select') ? [node] : [...node.querySelectorAll('select')];
    for (const list of lists) {
      if (![...list.options].some((option) => option.hasAttribute('selected'))) list.selectedIndex = -1;
    }
  }
}

// Properties the page logic sets, and how the browser takes each.
const BOOLEAN_PROPERTIES = new Set(['checked', 'disabled', 'readOnly', 'selected', 'noWrap']);
const PROPERTY_NAMES = {
  value: 'value', checked: 'checked', disabled: 'disabled', readonly: 'readOnly', selected: 'selected',
  selectedindex: 'selectedIndex', classname: 'className', id: 'id', tabindex: 'tabIndex', text: 'text',
  name: 'name', type: 'type', nowrap: 'noWrap',
};
const REFLECTED_ATTRIBUTES = { maxlength: 'maxlength', width: 'width', cellspacing: 'cellspacing', rules: 'rules' };

function setProperty(element, name, value) {
  const key = name.toLowerCase();
  if (REFLECTED_ATTRIBUTES[key]) {
    element.setAttribute(REFLECTED_ATTRIBUTES[key], value);
    return;
  }
  const property = PROPERTY_NAMES[key];
  if (!property) {
    element.setAttribute(key, value);
    return;
  }
  if (BOOLEAN_PROPERTIES.has(property)) {
    const on = value === 'true' || value === '1';
    if (property === 'disabled' && setDisabled(element, on)) return;
    if (property === 'readOnly' && setReadOnly(element, on)) return;
    element[property] = on;
  } else if (property === 'tabIndex') {
    element.tabIndex = tabIndexOf(element, value);
  } else if (property === 'selectedIndex') {
    element[property] = Number(value);
  } else {
    element[property] = value;
  }
}

// One page of the server (the workspace page or the tab page) shown in a container.
export class RenderedPage {
  constructor(container, page) {
    this.container = container;
    container.replaceChildren(parse(page.html));
    showUnchosenLists([container]);
    nameRowTables(container);
    this.rekey(page);
  }

  // The page as the server now numbers it: a kept page shown again is a new page there.
  rekey(page) {
    this.key = page.key;
    this.wiring = new Map();
    this.addWiring(page.wiring);
    this.container.setAttribute(NODE_ID, String(page.body));
    this.container.className = `${this.container.dataset.baseClass || ''} ${page.bodyClass || ''}`.trim();
  }

  find(id) {
    const wanted = String(id);
    if (this.container.getAttribute(NODE_ID) === wanted) return this.container;
    return this.container.querySelector(`[${NODE_ID}="${CSS.escape(wanted)}"]`);
  }

  nodeId(element) {
    return element ? Number(element.getAttribute(NODE_ID)) : 0;
  }

  // The nearest element (the target or an ancestor inside the page) that reports the event.
  reporter(target, event) {
    for (let element = target; element && element !== this.container.parentNode; element = element.parentElement) {
      const id = element.getAttribute && element.getAttribute(NODE_ID);
      const wiring = id && this.wiring.get(id);
      if (wiring && wiring.events.includes(event)) return element;
      if (element === this.container) break;
    }
    return null;
  }

  reports(element, event) {
    const wiring = this.wiring.get(element.getAttribute(NODE_ID) || '');
    return Boolean(wiring && wiring.events.includes(event));
  }

  filtersOf(element) {
    const wiring = this.wiring.get(element.getAttribute(NODE_ID) || '');
    return wiring ? wiring.filters : [];
  }

  // Applies the ops in their order; an op for a node the page no longer has is skipped.
  apply(ops) {
    let built = false;
    for (const op of ops) {
      built ||= op.op === 'content' || op.op === 'create';
      switch (op.op) {
        case 'remove': {
          const element = this.find(op.id);
          if (element && element !== this.container) element.remove();
          this.wiring.delete(String(op.id));
          break;
        }
        case 'content': {
          const element = this.find(op.id);
          if (element) {
            element.replaceChildren(parse(op.html));
            if (element.tagName === 'TEXTAREA') element.value = element.textContent;  // even once typed in
            showUnchosenLists([element]);
          }
          this.addWiring(op.wiring);
          break;
        }
        case 'create': {
          const parent = this.find(op.parent);
          if (!parent) break;
          const content = parse(op.html);
          const created = [...content.childNodes];
          parent.insertBefore(content, parent.childNodes[op.index] || null);
          showUnchosenLists(created);
          this.addWiring(op.wiring);
          break;
        }
        case 'prop': {
          const element = this.find(op.id);
          if (element) setProperty(element, op.name, op.value);
          break;
        }
        case 'attr': {
          const element = this.find(op.id);
          if (!element || op.name.toLowerCase().startsWith('on')) break;
          if (op.name.toLowerCase() === 'tabindex') {
            element.tabIndex = tabIndexOf(element, op.value);
            break;
          }
          if (op.name === 'disabled' && setDisabled(element, true)) break;
          if (op.name === 'readonly' && setReadOnly(element, true)) break;
          element.setAttribute(op.name, op.value);
          if (op.name === 'value' && 'value' in element) element.value = op.value;
          if (op.name === 'checked' || op.name === 'selected') element[op.name] = true;
          break;
        }
        case 'attr-removed': {
          const element = this.find(op.id);
          if (!element) break;
          if (op.name === 'disabled' && setDisabled(element, false)) break;
          if (op.name === 'readonly' && setReadOnly(element, false)) break;
          element.removeAttribute(op.name);
          if (op.name === 'checked' || op.name === 'selected') element[op.name] = false;
          if (op.name === 'value' && 'value' in element) element.value = '';
          break;
        }
        case 'style': {
          const element = this.find(op.id);
          if (!element) break;
          if (op.value === '') element.style.removeProperty(op.name);
          else element.style.setProperty(op.name, op.value);
          break;
        }
        case 'wire':
          this.wiring.delete(String(op.id));
          this.addWiring(op.wiring);
          break;
        default:
          break;
      }
    }
    if (built) nameRowTables(this.container);
  }

  // The server's wiring text: "node id:events:filters;" per element, both lists comma-separated.
  addWiring(text) {
    for (const entry of (text || '').split(';')) {
      if (!entry) continue;
      const [id, events, filters] = entry.split(':');
      this.wiring.set(id, { events: events ? events.split(',') : [], filters: filters ? filters.split(',') : [] });
    }
  }
}
