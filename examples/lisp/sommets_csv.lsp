;; SOMCSV: the vertices of the polylines chosen, one line "polyligne;sommet;x;y" each, in a CSV file.
(defun c:somcsv (/ ss file f i n e)
  (setq ss (ssget '((0 . "LWPOLYLINE")))
        file (getfiled "Fichier CSV" "sommets.csv" "csv" 1))
  (cond
    ((not ss) (princ "\nRien de choisi."))
    ((not (setq f (open file "w"))) (princ (strcat "\nImpossible d'écrire " file)))
    (T
     (write-line "polyligne;sommet;x;y" f)
     (setq i 0)
     (repeat (sslength ss)
       (setq e (entget (ssname ss i))
             n 0)
       (foreach g e
         (if (= (car g) 10)
           (progn
             (setq n (1+ n))
             (write-line (strcat (itoa (1+ i)) ";" (itoa n) ";" (rtos (cadr g) 2 4) ";" (rtos (caddr g) 2 4)) f))))
       (setq i (1+ i)))
     (close f)
     (princ (strcat "\n" (itoa i) " polylignes écrites dans " file))))
  (princ))
