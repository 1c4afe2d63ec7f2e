// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's side of the quiz. The form is in the HTML already; this gives
// the quiz, compiled from the same C++ as the desktop program, a QuizView on
// its controls, hands it their clicks, and adds the desktop's keyboard, whose
// rules come with the quiz: one Tab stop for each group of options, and
// arrows that follow the grid and wrap round.
'use strict';

(() => {
  const root = document.documentElement;

  function unavailable() {
    root.dataset.state = 'unavailable';
    document.getElementById('unavailable').hidden = false;
  }

  // A group's radio buttons, in the order of the page and by index.
  function radioGroup(name) {
    const inPage = Array.from(document.querySelectorAll(`input[name="${name}"]`));
    const byIndex = [];
    for (const radio of inPage) byIndex[Number(radio.value)] = radio;
    return { inPage, byIndex };
  }

  function start(M) {
    const box = document.getElementById('Text1-0');
    const varieties = radioGroup('Option1');
    const species = radioGroup('Option2');
    const commands = [document.getElementById('Command1-0'), document.getElementById('Command1-1')];
    const radios = (group) => (group === M.OptionGroup.Varieties ? varieties : species).byIndex;

    // What the box holds as the quiz wrote it. A textarea gives CR LF back
    // as LF, so the quiz reads back its own text, not the box's.
    let text = M.introductoryText();

    const PageView = M.QuizView.extend('QuizView', {
      SetOptionChecked(group, index, checked) {
        radios(group)[index].checked = checked;
      },
      SetOptionEnabled(group, index, enabled) {
        radios(group)[index].disabled = !enabled;
      },
      OptionCaption(group, index) {
        return group === M.OptionGroup.Varieties ? M.varietyCaption(index) : M.speciesCaption(index);
      },
      KeyEntry(variety) {
        return M.keyText(variety);
      },
      DescriptionEntry(variety) {
        return M.description(variety);
      },
      GetOutputText() {
        return text;
      },
      SetOutputText(value) {
        text = value;
        box.value = value;
      },
    });
    const view = new PageView();
    const quiz = new M.Quiz(view);
    // The box shows what the quiz holds, whatever a browser put back in it.
    box.value = text;

    // Where Tab and the arrows go is the quiz's rule, as on the desktop; the
    // page names its controls and their states to it, and carries out its
    // answers.
    const kinds = M.StopKind;
    function focusableOf(control) {
      if (control === box) return { kind: kinds.OutputBox, index: 0 };
      if (commands.includes(control)) return { kind: kinds.Command, index: commands.indexOf(control) };
      return { kind: control.name === 'Option1' ? kinds.Varieties : kinds.Species, index: Number(control.value) };
    }
    function controlOf({ kind, index }) {
      if (kind === kinds.OutputBox) return box;
      if (kind === kinds.Command) return commands[index];
      return (kind === kinds.Varieties ? varieties : species).byIndex[index];
    }
    function optionStates() {
      const chosen = (group) => Number(group.inPage.find((radio) => radio.checked)?.value ?? -1);
      return {
        varietyRetired: varieties.byIndex.map((radio) => radio.disabled),
        speciesRetired: species.byIndex.map((radio) => radio.disabled),
        chosenVariety: chosen(varieties),
        chosenSpecies: chosen(species),
      };
    }
    // A group's entry is its only option with a tab index, so the focus
    // also comes back to it from outside the page.
    function updateTabStops() {
      const states = optionStates();
      for (const [group, kind] of [[varieties, kinds.Varieties], [species, kinds.Species]]) {
        const entry = M.groupEntry(kind, states);
        for (const radio of group.inPage) radio.tabIndex = Number(radio.value) === entry ? 0 : -1;
      }
    }
    // Browsers differ in how they Tab into a group of radio buttons (Firefox
    // passes over a group whose first option has no tab index), so Tab and
    // Shift+Tab go from stop to stop here. Past either end of the page they
    // are the browser's again, and take the focus on to its own controls.
    function onTab(event) {
      if (event.key !== 'Tab' || event.ctrlKey || event.altKey || event.metaKey) return;
      const to = M.tabTarget(focusableOf(event.currentTarget), event.shiftKey, optionStates());
      if (!to) return;
      event.preventDefault();
      controlOf(to).focus();
    }
    for (const control of [box, ...varieties.inPage, ...species.inPage, ...commands])
      control.addEventListener('keydown', onTab);

    // An arrow the quiz takes is taken even where it moves nothing: the
    // browser's own movement would neither wrap nor follow the grid.
    function onArrow(event) {
      if (!M.isPlainArrow(event)) return;
      event.preventDefault();
      const from = focusableOf(event.currentTarget);
      const move = M.arrowTarget(from, event.key, optionStates());
      if (!move) return;
      const to = controlOf({ kind: from.kind, index: move.to });
      if (move.choiceFollows) to.click();
      to.focus();
    }

    function chooseVariety(radio) {
      quiz.OnVarietyClick(Number(radio.value));
      updateTabStops();
    }
    function chooseSpecies(radio) {
      quiz.OnSpeciesClick(Number(radio.value));
      updateTabStops();
    }
    // A screen reader reads the box by lines: the one the focus comes to,
    // and the others only when asked (in Chromium, not even then). What it
    // should read besides goes to a region it reads out by itself, once.
    // Emptied first, so that the same words are read again; a press that
    // comes within the pause takes the place of the words still waiting.
    const spoken = document.getElementById('Text1-0-spoken');
    let waiting = 0;
    function speak(words) {
      clearTimeout(waiting);
      spoken.textContent = '';
      if (words) waiting = setTimeout(() => { spoken.textContent = words; }, 100);
    }
    // The focus to the box, at its start, where a screen reader reads the
    // line the quiz wrote first.
    function focusBox() {
      box.focus();
      box.setSelectionRange(0, 0);
      box.scrollTop = 0;
    }
    // Both buttons write the box and move the focus there, so that a screen
    // reader reads the verdict at once, and after it what follows (a
    // variety's description); the next Tab goes on to the varieties. The
    // box's own description was read when the box was first come to, and is
    // not repeated before every verdict.
    function press(button) {
      quiz.OnCommandClick(commands.indexOf(button));
      updateTabStops();
      box.removeAttribute('aria-describedby');
      focusBox();
      const lines = text.split('\r\n');
      speak(lines.slice(1).join('\n').trim());
    }

    quiz.OnFormLoad();
    // What the learner did before the quiz was there, in order, as if it
    // came now: the quiz has just cleared the options it chose.
    document.removeEventListener('click', keepEarly, true);
    for (const control of early) {
      if (control.type === 'radio') {
        control.checked = true;
        (control.name === 'Option1' ? chooseVariety : chooseSpecies)(control);
      } else {
        press(control);
      }
    }
    // Space on the chosen option chooses it again, as on the desktop, which
    // empties the box; Chromium and WebKit raise no click for it, Firefox
    // does, so it counts here only where no click came.
    let spaceOn = null;
    function onSpace(event) {
      if (event.key !== ' ') return;
      const radio = event.currentTarget;
      if (event.type === 'keydown') {
        spaceOn = radio.checked ? radio : null;
      } else if (spaceOn === radio) {
        spaceOn = null;
        if (radio.checked && !radio.disabled) (radio.name === 'Option1' ? chooseVariety : chooseSpecies)(radio);
      }
    }
    for (const [group, choose] of [[varieties, chooseVariety], [species, chooseSpecies]]) {
      for (const radio of group.inPage) {
        radio.addEventListener('click', () => {
          spaceOn = null;
          choose(radio);
        });
        radio.addEventListener('keydown', onArrow);
        radio.addEventListener('keydown', onSpace);
        radio.addEventListener('keyup', onSpace);
      }
    }
    commands.forEach((button) => button.addEventListener('click', () => press(button)));

    for (const button of commands) button.disabled = false;
    updateTabStops();
    // The box has the focus at start. Where the address names an element
    // (#Option1-17, say), a browser leaves out autofocus, and may give that
    // element the focus once the page has loaded; the page is the same.
    if (location.hash) {
      box.focus();
      const again = () => setTimeout(() => box.focus());
      if (document.readyState === 'complete') again();
      else window.addEventListener('load', again, { once: true });
    }
    // A page the browser kept when the learner went elsewhere, and shows
    // again on Back or Forward, starts afresh, as on a reload.
    window.addEventListener('pageshow', (event) => {
      if (!event.persisted) return;
      quiz.OnFormLoad();
      view.SetOutputText(M.introductoryText());
      updateTabStops();
      focusBox();
      speak(text);
    });
    // At start the task is read out, once the page is there: a screen
    // reader says nothing of a box that took the focus while the page loaded.
    const announce = () => setTimeout(() => { if (text === M.introductoryText()) speak(text); }, 500);
    if (document.readyState === 'complete') announce();
    else window.addEventListener('load', announce, { once: true });
    window.Orseta = Object.freeze({ view });
    root.dataset.state = 'ready';

    // The site keeps its files for use offline; a copy opened from disk has
    // nothing to keep them with.
    const worker = root.dataset.worker;
    if (worker && 'serviceWorker' in navigator) {
      const keep = () => navigator.serviceWorker.register(worker).catch(() => {});
      if (document.readyState === 'complete') keep();
      else window.addEventListener('load', keep);
    }
  }

  // The form is usable from the moment it is shown, as the quiz leaves it
  // at start: every option enabled, none chosen. Until the quiz module is
  // there, the learner's clicks (and the arrows' and Space's, which click)
  // are kept, to be handed to it once it is.
  const early = [];
  function keepEarly(event) {
    const control = event.target;
    if (control instanceof Element && control.matches('#Tesmoril input[type="radio"], #Tesmoril .command'))
      early.push(control);
  }
  document.addEventListener('click', keepEarly, true);

  // The script may run before the page is read to its end (the site loads it
  // at once, beside the style; the one file has it inline in its head), so
  // the module compiles meanwhile, and the page is wired once both are there.
  const parsed = document.readyState === 'loading'
    ? new Promise((resolve) => document.addEventListener('DOMContentLoaded', resolve, { once: true }))
    : Promise.resolve();
  const module = typeof WebAssembly === 'object' && typeof createOrsetaModule === 'function'
    ? createOrsetaModule()
    : Promise.reject(new Error('no WebAssembly'));
  // The form is drawn first, as written; the quiz takes it over just after,
  // or after a tenth of a second where the browser draws nothing (a page
  // opened behind others, say).
  const drawn = () => new Promise((resolve) => {
    requestAnimationFrame(() => setTimeout(resolve));
    setTimeout(resolve, 100);
  });
  Promise.all([module, parsed.then(drawn)]).then(([M]) => start(M)).catch(() => parsed.then(unavailable));
})();
