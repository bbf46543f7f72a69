// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// Runs the Khronos glTF validator over one .glb file and prints the number of errors it found on
// the first line, then its messages of every severity, one a line. Exits 0 when it ran, whatever
// it found, and 1 when it could not run.
'use strict';

const fs = require('fs');
const path = require('path');
let validator;
try {
    validator = require(path.join(__dirname, 'node_modules', 'gltf-validator'));
} catch (error) {
    console.error('the glTF validator is missing: scripts/install-deps.sh installs it (' + error.message + ')');
    process.exit(1);
}

async function main() {
    const file = process.argv[2];
    const bytes = new Uint8Array(fs.readFileSync(file));
    const report = await validator.validateBytes(bytes, {
        uri: path.basename(file),
        maxIssues: 0,
        externalResourceFunction: (uri) => Promise.reject(new Error('no external resources: ' + uri)),
    });
    console.log(String(report.issues.numErrors));
    for (const issue of report.issues.messages) {
        console.log(`${issue.severity} ${issue.code} ${issue.pointer || ''} ${issue.message}`);
    }
}

main().catch((error) => {
    console.error(String(error));
    process.exit(1);
});
