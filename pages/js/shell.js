// The shell's own parts: title, tab strip (hidden tabs absent), command buttons and status.

export function renderShell(shell, handlers) {
  document.getElementById('shell-title').textContent = shell.title || 'Cover Note Amendment';
  document.title = shell.title || 'Cover Note Amendment';

  const tabs = document.getElementById('shell-tabs');
  tabs.replaceChildren();
  for (const tab of shell.tabs) {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'tab';
    button.setAttribute('role', 'tab');
    const shown = tab.id === shell.shownTab;
    button.setAttribute('aria-selected', String(shown));
    button.tabIndex = shown ? 0 : -1;
    button.textContent = tab.caption;
    button.addEventListener('click', () => handlers.tab(tab.id));
    tabs.append(button);
  }

  const commands = document.getElementById('shell-commands');
  commands.replaceChildren();
  for (const command of shell.buttons) {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'command';
    button.textContent = command.caption;
    button.disabled = !command.enabled;
    button.hidden = !command.shown;
    button.addEventListener('click', () => handlers.command(command.id));
    commands.append(button);
  }
}

export function renderStatus(text) {
  document.getElementById('shell-status').textContent = text || '';
}
