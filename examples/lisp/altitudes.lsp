;; ALTI: the points of a table "nom;x;y;z" (its first line holds the titles), each drawn as a POINT at its
;; height with a TEXT giving its name and height.
(defun decoupe (s sep / at out)
  (while (setq at (vl-string-search sep s))
    (setq out (cons (substr s 1 at) out)
          s (substr s (+ at 1 (strlen sep)))))
  (reverse (cons s out)))

(defun c:alti (/ file f line fields pt n)
  (setq file (getfiled "Table des altitudes" "altitudes.csv" "csv" 0)
        n 0)
  (if (and file (setq f (open file "r")))
    (progn
      (read-line f)
      (while (setq line (read-line f))
        (setq fields (decoupe line ";"))
        (if (= (length fields) 4)
          (progn
            (setq pt (mapcar 'atof (cdr fields)))
            (entmake (list '(0 . "POINT") (cons 10 pt)))
            (entmake (list '(0 . "TEXT") (cons 10 pt) '(40 . 0.5)
                           (cons 1 (strcat (car fields) " " (rtos (caddr pt) 2 2)))))
            (setq n (1+ n)))))
      (close f)
      (princ (strcat "\n" (itoa n) " points d'altitude")))
    (princ "\nTable introuvable."))
  (princ))
