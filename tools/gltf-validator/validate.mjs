// Validates glTF files with the Khronos glTF validator: one line per file with its counts of
// errors and warnings, then the errors themselves. Exits 1 when any file has an error.
// Usage: node validate.mjs FILE...
import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";

const validator = createRequire(import.meta.url)("gltf-validator");
let failed = false;
for (const path of process.argv.slice(2)) {
  const report = await validator.validateBytes(new Uint8Array(await readFile(path)), {
    maxIssues: 100,
  });
  const { numErrors, numWarnings, messages } = report.issues;
  console.log(`${path}: ${numErrors} errors, ${numWarnings} warnings`);
  for (const issue of messages) {
    if (issue.severity === 0) console.log(`  ${issue.code} ${issue.pointer ?? ""}: ${issue.message}`);
  }
  if (numErrors > 0) failed = true;
}
process.exit(failed ? 1 : 0);
