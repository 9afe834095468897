// Works page after page until the user stops it, as a register template does.
doc.setPageGenerated(1);
while (!doc.isDocAborted()) {
    doc.setPageGenerated(doc.getPageGenerated() + 1);
}
doc.setHtml('');
doc.setDocGenerated(true);
